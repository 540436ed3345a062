// Resource ids of the commentary dialogs: templates, controls, the image strip of the
// titles list and the message texts.
#pragma once
#include <windows.h>

constexpr UINT kIddProvidePassword = 147;
constexpr UINT kIddLexTitles = 148;
constexpr UINT kIddLexCreate = 149;
constexpr UINT kIdbLexiconImages = 158;  // 16 x 16 images, magenta transparent

constexpr int kIdcPasswordPrompt = 1021;
constexpr int kIdcPassword = 1046;
constexpr int kIdcTitlesList = 1047;
constexpr int kIdcOpenTitle = 3;
constexpr int kIdcNewTitle = 4;
constexpr int kIdcRemoveTitle = 5;
constexpr int kIdcCreatePath = 1048;
constexpr int kIdcCreateBible = 1049;
constexpr int kIdcCreateHint = 1050;
constexpr int kIdcBrowse = 3;

constexpr UINT kIdsPasswordPrompt = 134;       // "%U1 er passordbeskyttet. ..."
constexpr UINT kIdsWrongPassword = 135;        // "Det oppgitte passordet er ikke korrekt."
constexpr UINT kIdsDocumentsHint = 1007;       // "Dersom du ikke oppgir en fullstendig sti, ..."
constexpr UINT kIdsNoSuchDirectory = 1008;     // "'%1' er ikke en gyldig eksisterende katalog."
constexpr UINT kIdsOverwriteFile = 1009;       // "Filen '%1' eksisterer allerede ..."
constexpr UINT kIdsCannotDeleteFile = 1010;    // "Klarte ikke slette den eksisterende filen '%1'."
constexpr UINT kIdsChooseBible = 1011;         // "Du må velge en bibel ..."
constexpr UINT kIdsCannotCreateFile = 1012;    // "Klarte ikke opprette filen '%1'."
constexpr UINT kIdsNotesFileFilter = 1013;
constexpr UINT kIdsNotesFileTitle = 1014;      // "Velg sti for kommentarfilen"
constexpr UINT kIdsAlreadyRegistered = 1015;
constexpr UINT kIdsCreatedNotAdded = 1016;
constexpr UINT kIdsCannotAddCommentary = 1017; // "Klarte ikke åpne til bibelkommentaren."
constexpr UINT kIdsPathTooLong = 1032;         // "Stien '%1' er for lang. ..."

// The password field's room: 31 characters and the NUL.
constexpr int kPasswordSize = 32;
