var VO_SHOW_TIP = 200;
var VO_HIDE_TIP = 201;

function VoMessage(val, txt)
{
   return window.external.CustomMessage(val, txt);
}

function VoLinkTarget(href, prefix)
{
   return href.substring(prefix.length).replace(/%20/g, " ");
}

function VoRewriteAnchors()
{
   var anchors = document.getElementsByTagName("a");
   var list = new Array();
   for (var i = 0; i < anchors.length; i++)
      list[list.length] = anchors[i];
   for (var i = 0; i < list.length; i++)
   {
      var a = list[i];
      var href = a.getAttribute("href");
      if (href == null)
         continue;
      var lower = href.toLowerCase();
      if (lower.indexOf("bible:") == 0 && href.length > 6)
         a.outerHTML = "<A" + " class='biblink' onclick='OnClickBibRef(this)'"
            + " onmouseover='OnHoverBibRef(this)' onmouseout='OnHoutBibRef(this)'" + a.outerHTML.substring(2);
      else if (lower.indexOf("lexicon:") == 0 && href.length > 8)
         a.outerHTML = "<A" + " class='lexlink' onclick='OnClickLexRef(this)'"
            + " onmouseover='OnHoverLexRef(this)' onmouseout='OnHoutLexRef(this)'" + a.outerHTML.substring(2);
   }
   VoMessage(10, "");
}

function VoCancel()
{
   window.event.returnValue = false;
   window.event.cancelBubble = true;
}

function OnHoverBibRef(a)
{
   var reference = VoLinkTarget(a.getAttribute("href"), "bible:");
   var text = VoMessage(100, reference);
   VoMessage(VO_SHOW_TIP, reference + "\n" + text);
}

function OnHoutBibRef(a)
{
   VoMessage(VO_HIDE_TIP, "");
}

function OnClickBibRef(a)
{
   VoCancel();
   VoMessage(101, VoLinkTarget(a.getAttribute("href"), "bible:"));
}

function OnHoverLexRef(a)
{
   a.style.color = "#0000FF";
}

function OnHoutLexRef(a)
{
   a.style.color = "";
}

function OnClickLexRef(a)
{
   VoCancel();
   VoMessage(102, VoLinkTarget(a.getAttribute("href"), "lexicon:"));
}

if (navigator.appName == "Microsoft Internet Explorer" && parseInt(navigator.appVersion) >= 4)
   window.attachEvent("onload", VoRewriteAnchors);
