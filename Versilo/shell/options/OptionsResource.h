// Resource and control identifiers of the options sheet and its pages,
// shared by the dialog templates (OptionsDialogs.rc) and the code.
#pragma once

// The property frame's own identifiers.
#include "PropertyFrameResource.h"

// The options sheet's pages, with the strings of their tab titles (the sheet's frame template
// is the property frame's).
#define IDD_BIBLE_OPTIONS 141
#define IDD_FONT_OPTIONS 143
#define IDD_MULTITRANS_OPTIONS 150
#define IDS_BIBLE_OPTIONS 129
#define IDS_FONT_OPTIONS 130
#define IDS_MULTITRANS_OPTIONS 137

// Bible page.
#define IDC_MARGIN 1000
#define IDC_MARGIN_SPIN 1001
#define IDC_JUSTIFIED 1002
#define IDC_MULTICOLUMN 1003
#define IDC_COLUMN_WIDTH 1004
#define IDC_COLUMN_WIDTH_SPIN 1005
#define IDC_BIBLES 1006
#define IDC_SHOW_HEADINGS 1007
#define IDC_SHOW_REFERENCES 1008
#define IDC_HIDE_BRACKETS 1009
#define IDC_COLUMN_WIDTH_LABEL 1010
#define IDC_COPY_VERSE_NUMBER 1023
#define IDC_NUMBER_BEFORE 1024
#define IDC_NUMBER_AFTER 1025

// Font page.
#define IDC_FONT_SAMPLE 1011
#define IDC_FONT_FACE 1012
#define IDC_FONT_SIZE 1013
#define IDC_FONT_SIZE_SPIN 1014
#define IDC_BIBLE_LINK_COLOR 1016
#define IDC_LEXICON_LINK_COLOR 1017

// Translations page: the order list, its buttons (whose icons share their ids) and the
// image of its items.
#define IDC_MULTITRANS_ORDER 1051
#define IDC_HIDE_ACTIVE 1053
#define IDC_MOVE_UP 4000
#define IDC_MOVE_DOWN 4001
#define IDI_MOVE_UP 4000
#define IDI_MOVE_DOWN 4001
#define IDB_BIBLE_ITEM 157
