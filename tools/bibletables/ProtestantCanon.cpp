// The 66 books of the common Protestant canon with the verse count of every chapter (1,189
// chapters, 31,102 verses), the numbering of the public-domain King James text. Tests and
// the sample-data tools build their statistics from this one table.
#include "ProtestantCanon.h"

namespace {
// Genesis
const unsigned char kBook1[] = {
    31, 25, 24, 26, 32, 22, 24, 22, 29, 32, 32, 20, 18, 24, 21, 16, 27, 33, 38, 18, 34, 24, 20,
    67, 34, 35, 46, 22, 35, 43, 55, 32, 20, 31, 29, 43, 36, 30, 23, 23, 57, 38, 34, 34, 28, 34,
    31, 22, 33, 26};
// Exodus
const unsigned char kBook2[] = {
    22, 25, 22, 31, 23, 30, 25, 32, 35, 29, 10, 51, 22, 31, 27, 36, 16, 27, 25, 26, 36, 31, 33,
    18, 40, 37, 21, 43, 46, 38, 18, 35, 23, 35, 35, 38, 29, 31, 43, 38};
// Leviticus
const unsigned char kBook3[] = {
    17, 16, 17, 35, 19, 30, 38, 36, 24, 20, 47, 8, 59, 57, 33, 34, 16, 30, 37, 27, 24, 33, 44,
    23, 55, 46, 34};
// Numbers
const unsigned char kBook4[] = {
    54, 34, 51, 49, 31, 27, 89, 26, 23, 36, 35, 16, 33, 45, 41, 50, 13, 32, 22, 29, 35, 41, 30,
    25, 18, 65, 23, 31, 40, 16, 54, 42, 56, 29, 34, 13};
// Deuteronomy
const unsigned char kBook5[] = {
    46, 37, 29, 49, 33, 25, 26, 20, 29, 22, 32, 32, 18, 29, 23, 22, 20, 22, 21, 20, 23, 30, 25,
    22, 19, 19, 26, 68, 29, 20, 30, 52, 29, 12};
// Joshua
const unsigned char kBook6[] = {
    18, 24, 17, 24, 15, 27, 26, 35, 27, 43, 23, 24, 33, 15, 63, 10, 18, 28, 51, 9, 45, 34, 16,
    33};
// Judges
const unsigned char kBook7[] = {
    36, 23, 31, 24, 31, 40, 25, 35, 57, 18, 40, 15, 25, 20, 20, 31, 13, 31, 30, 48, 25};
// Ruth
const unsigned char kBook8[] = {
    22, 23, 18, 22};
// 1 Samuel
const unsigned char kBook9[] = {
    28, 36, 21, 22, 12, 21, 17, 22, 27, 27, 15, 25, 23, 52, 35, 23, 58, 30, 24, 42, 15, 23, 29,
    22, 44, 25, 12, 25, 11, 31, 13};
// 2 Samuel
const unsigned char kBook10[] = {
    27, 32, 39, 12, 25, 23, 29, 18, 13, 19, 27, 31, 39, 33, 37, 23, 29, 33, 43, 26, 22, 51, 39,
    25};
// 1 Kings
const unsigned char kBook11[] = {
    53, 46, 28, 34, 18, 38, 51, 66, 28, 29, 43, 33, 34, 31, 34, 34, 24, 46, 21, 43, 29, 53};
// 2 Kings
const unsigned char kBook12[] = {
    18, 25, 27, 44, 27, 33, 20, 29, 37, 36, 21, 21, 25, 29, 38, 20, 41, 37, 37, 21, 26, 20, 37,
    20, 30};
// 1 Chronicles
const unsigned char kBook13[] = {
    54, 55, 24, 43, 26, 81, 40, 40, 44, 14, 47, 40, 14, 17, 29, 43, 27, 17, 19, 8, 30, 19, 32,
    31, 31, 32, 34, 21, 30};
// 2 Chronicles
const unsigned char kBook14[] = {
    17, 18, 17, 22, 14, 42, 22, 18, 31, 19, 23, 16, 22, 15, 19, 14, 19, 34, 11, 37, 20, 12, 21,
    27, 28, 23, 9, 27, 36, 27, 21, 33, 25, 33, 27, 23};
// Ezra
const unsigned char kBook15[] = {
    11, 70, 13, 24, 17, 22, 28, 36, 15, 44};
// Nehemiah
const unsigned char kBook16[] = {
    11, 20, 32, 23, 19, 19, 73, 18, 38, 39, 36, 47, 31};
// Esther
const unsigned char kBook17[] = {
    22, 23, 15, 17, 14, 14, 10, 17, 32, 3};
// Job
const unsigned char kBook18[] = {
    22, 13, 26, 21, 27, 30, 21, 22, 35, 22, 20, 25, 28, 22, 35, 22, 16, 21, 29, 29, 34, 30, 17,
    25, 6, 14, 23, 28, 25, 31, 40, 22, 33, 37, 16, 33, 24, 41, 30, 24, 34, 17};
// Psalms
const unsigned char kBook19[] = {
    6, 12, 8, 8, 12, 10, 17, 9, 20, 18, 7, 8, 6, 7, 5, 11, 15, 50, 14, 9, 13, 31, 6, 10, 22, 12,
    14, 9, 11, 12, 24, 11, 22, 22, 28, 12, 40, 22, 13, 17, 13, 11, 5, 26, 17, 11, 9, 14, 20, 23,
    19, 9, 6, 7, 23, 13, 11, 11, 17, 12, 8, 12, 11, 10, 13, 20, 7, 35, 36, 5, 24, 20, 28, 23,
    10, 12, 20, 72, 13, 19, 16, 8, 18, 12, 13, 17, 7, 18, 52, 17, 16, 15, 5, 23, 11, 13, 12, 9,
    9, 5, 8, 28, 22, 35, 45, 48, 43, 13, 31, 7, 10, 10, 9, 8, 18, 19, 2, 29, 176, 7, 8, 9, 4, 8,
    5, 6, 5, 6, 8, 8, 3, 18, 3, 3, 21, 26, 9, 8, 24, 13, 10, 7, 12, 15, 21, 10, 20, 14, 9, 6};
// Proverbs
const unsigned char kBook20[] = {
    33, 22, 35, 27, 23, 35, 27, 36, 18, 32, 31, 28, 25, 35, 33, 33, 28, 24, 29, 30, 31, 29, 35,
    34, 28, 28, 27, 28, 27, 33, 31};
// Ecclesiastes
const unsigned char kBook21[] = {
    18, 26, 22, 16, 20, 12, 29, 17, 18, 20, 10, 14};
// Song of Solomon
const unsigned char kBook22[] = {
    17, 17, 11, 16, 16, 13, 13, 14};
// Isaiah
const unsigned char kBook23[] = {
    31, 22, 26, 6, 30, 13, 25, 22, 21, 34, 16, 6, 22, 32, 9, 14, 14, 7, 25, 6, 17, 25, 18, 23,
    12, 21, 13, 29, 24, 33, 9, 20, 24, 17, 10, 22, 38, 22, 8, 31, 29, 25, 28, 28, 25, 13, 15,
    22, 26, 11, 23, 15, 12, 17, 13, 12, 21, 14, 21, 22, 11, 12, 19, 12, 25, 24};
// Jeremiah
const unsigned char kBook24[] = {
    19, 37, 25, 31, 31, 30, 34, 22, 26, 25, 23, 17, 27, 22, 21, 21, 27, 23, 15, 18, 14, 30, 40,
    10, 38, 24, 22, 17, 32, 24, 40, 44, 26, 22, 19, 32, 21, 28, 18, 16, 18, 22, 13, 30, 5, 28,
    7, 47, 39, 46, 64, 34};
// Lamentations
const unsigned char kBook25[] = {
    22, 22, 66, 22, 22};
// Ezekiel
const unsigned char kBook26[] = {
    28, 10, 27, 17, 17, 14, 27, 18, 11, 22, 25, 28, 23, 23, 8, 63, 24, 32, 14, 49, 32, 31, 49,
    27, 17, 21, 36, 26, 21, 26, 18, 32, 33, 31, 15, 38, 28, 23, 29, 49, 26, 20, 27, 31, 25, 24,
    23, 35};
// Daniel
const unsigned char kBook27[] = {
    21, 49, 30, 37, 31, 28, 28, 27, 27, 21, 45, 13};
// Hosea
const unsigned char kBook28[] = {
    11, 23, 5, 19, 15, 11, 16, 14, 17, 15, 12, 14, 16, 9};
// Joel
const unsigned char kBook29[] = {
    20, 32, 21};
// Amos
const unsigned char kBook30[] = {
    15, 16, 15, 13, 27, 14, 17, 14, 15};
// Obadiah
const unsigned char kBook31[] = {
    21};
// Jonah
const unsigned char kBook32[] = {
    17, 10, 10, 11};
// Micah
const unsigned char kBook33[] = {
    16, 13, 12, 13, 15, 16, 20};
// Nahum
const unsigned char kBook34[] = {
    15, 13, 19};
// Habakkuk
const unsigned char kBook35[] = {
    17, 20, 19};
// Zephaniah
const unsigned char kBook36[] = {
    18, 15, 20};
// Haggai
const unsigned char kBook37[] = {
    15, 23};
// Zechariah
const unsigned char kBook38[] = {
    21, 13, 10, 14, 11, 15, 14, 23, 17, 12, 17, 14, 9, 21};
// Malachi
const unsigned char kBook39[] = {
    14, 17, 18, 6};
// Matthew
const unsigned char kBook40[] = {
    25, 23, 17, 25, 48, 34, 29, 34, 38, 42, 30, 50, 58, 36, 39, 28, 27, 35, 30, 34, 46, 46, 39,
    51, 46, 75, 66, 20};
// Mark
const unsigned char kBook41[] = {
    45, 28, 35, 41, 43, 56, 37, 38, 50, 52, 33, 44, 37, 72, 47, 20};
// Luke
const unsigned char kBook42[] = {
    80, 52, 38, 44, 39, 49, 50, 56, 62, 42, 54, 59, 35, 35, 32, 31, 37, 43, 48, 47, 38, 71, 56,
    53};
// John
const unsigned char kBook43[] = {
    51, 25, 36, 54, 47, 71, 53, 59, 41, 42, 57, 50, 38, 31, 27, 33, 26, 40, 42, 31, 25};
// Acts
const unsigned char kBook44[] = {
    26, 47, 26, 37, 42, 15, 60, 40, 43, 48, 30, 25, 52, 28, 41, 40, 34, 28, 41, 38, 40, 30, 35,
    27, 27, 32, 44, 31};
// Romans
const unsigned char kBook45[] = {
    32, 29, 31, 25, 21, 23, 25, 39, 33, 21, 36, 21, 14, 23, 33, 27};
// 1 Corinthians
const unsigned char kBook46[] = {
    31, 16, 23, 21, 13, 20, 40, 13, 27, 33, 34, 31, 13, 40, 58, 24};
// 2 Corinthians
const unsigned char kBook47[] = {
    24, 17, 18, 18, 21, 18, 16, 24, 15, 18, 33, 21, 14};
// Galatians
const unsigned char kBook48[] = {
    24, 21, 29, 31, 26, 18};
// Ephesians
const unsigned char kBook49[] = {
    23, 22, 21, 32, 33, 24};
// Philippians
const unsigned char kBook50[] = {
    30, 30, 21, 23};
// Colossians
const unsigned char kBook51[] = {
    29, 23, 25, 18};
// 1 Thessalonians
const unsigned char kBook52[] = {
    10, 20, 13, 18, 28};
// 2 Thessalonians
const unsigned char kBook53[] = {
    12, 17, 18};
// 1 Timothy
const unsigned char kBook54[] = {
    20, 15, 16, 16, 25, 21};
// 2 Timothy
const unsigned char kBook55[] = {
    18, 26, 17, 22};
// Titus
const unsigned char kBook56[] = {
    16, 15, 15};
// Philemon
const unsigned char kBook57[] = {
    25};
// Hebrews
const unsigned char kBook58[] = {
    14, 18, 19, 16, 14, 20, 28, 13, 28, 39, 40, 29, 25};
// James
const unsigned char kBook59[] = {
    27, 26, 18, 17, 20};
// 1 Peter
const unsigned char kBook60[] = {
    25, 25, 22, 19, 14};
// 2 Peter
const unsigned char kBook61[] = {
    21, 22, 18};
// 1 John
const unsigned char kBook62[] = {
    10, 29, 24, 21, 21};
// 2 John
const unsigned char kBook63[] = {
    13};
// 3 John
const unsigned char kBook64[] = {
    14};
// Jude
const unsigned char kBook65[] = {
    25};
// Revelation
const unsigned char kBook66[] = {
    20, 29, 22, 11, 14, 17, 17, 13, 21, 11, 19, 17, 18, 20, 8, 21, 18, 24, 21, 15, 27, 21};

const CanonBook kBooks[kProtestantBookCount] = {
    {1, "Genesis", 50, kBook1},
    {2, "Exodus", 40, kBook2},
    {3, "Leviticus", 27, kBook3},
    {4, "Numbers", 36, kBook4},
    {5, "Deuteronomy", 34, kBook5},
    {6, "Joshua", 24, kBook6},
    {7, "Judges", 21, kBook7},
    {8, "Ruth", 4, kBook8},
    {9, "1 Samuel", 31, kBook9},
    {10, "2 Samuel", 24, kBook10},
    {11, "1 Kings", 22, kBook11},
    {12, "2 Kings", 25, kBook12},
    {13, "1 Chronicles", 29, kBook13},
    {14, "2 Chronicles", 36, kBook14},
    {15, "Ezra", 10, kBook15},
    {16, "Nehemiah", 13, kBook16},
    {17, "Esther", 10, kBook17},
    {18, "Job", 42, kBook18},
    {19, "Psalms", 150, kBook19},
    {20, "Proverbs", 31, kBook20},
    {21, "Ecclesiastes", 12, kBook21},
    {22, "Song of Solomon", 8, kBook22},
    {23, "Isaiah", 66, kBook23},
    {24, "Jeremiah", 52, kBook24},
    {25, "Lamentations", 5, kBook25},
    {26, "Ezekiel", 48, kBook26},
    {27, "Daniel", 12, kBook27},
    {28, "Hosea", 14, kBook28},
    {29, "Joel", 3, kBook29},
    {30, "Amos", 9, kBook30},
    {31, "Obadiah", 1, kBook31},
    {32, "Jonah", 4, kBook32},
    {33, "Micah", 7, kBook33},
    {34, "Nahum", 3, kBook34},
    {35, "Habakkuk", 3, kBook35},
    {36, "Zephaniah", 3, kBook36},
    {37, "Haggai", 2, kBook37},
    {38, "Zechariah", 14, kBook38},
    {39, "Malachi", 4, kBook39},
    {40, "Matthew", 28, kBook40},
    {41, "Mark", 16, kBook41},
    {42, "Luke", 24, kBook42},
    {43, "John", 21, kBook43},
    {44, "Acts", 28, kBook44},
    {45, "Romans", 16, kBook45},
    {46, "1 Corinthians", 16, kBook46},
    {47, "2 Corinthians", 13, kBook47},
    {48, "Galatians", 6, kBook48},
    {49, "Ephesians", 6, kBook49},
    {50, "Philippians", 4, kBook50},
    {51, "Colossians", 4, kBook51},
    {52, "1 Thessalonians", 5, kBook52},
    {53, "2 Thessalonians", 3, kBook53},
    {54, "1 Timothy", 6, kBook54},
    {55, "2 Timothy", 4, kBook55},
    {56, "Titus", 3, kBook56},
    {57, "Philemon", 1, kBook57},
    {58, "Hebrews", 13, kBook58},
    {59, "James", 5, kBook59},
    {60, "1 Peter", 5, kBook60},
    {61, "2 Peter", 3, kBook61},
    {62, "1 John", 5, kBook62},
    {63, "2 John", 1, kBook63},
    {64, "3 John", 1, kBook64},
    {65, "Jude", 1, kBook65},
    {66, "Revelation", 22, kBook66},
};
}  // namespace

// Identity and versification GUIDs of this numbering.
const GUID kProtestantIdentity = {0xc1324b1b, 0xaea8, 0x4308, {0x90, 0x7c, 0x93, 0xcc, 0x6f, 0x68, 0x09, 0x60}};
const GUID kProtestantVersification = {0x1cea55f8, 0xfa45, 0x48dd, {0xa4, 0xee, 0x4c, 0xe1, 0x73, 0x3f, 0x69, 0x34}};

const CanonBook& ProtestantBook(int book) { return kBooks[book]; }
