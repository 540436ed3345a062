// The commentary files' own scrambling of text, its check code, and the scrambled record
// that carries a text with its check code (settings and password records). Scrambling
// never makes a zero byte, so a scrambled text stays a zero-terminated text.
#pragma once
#include <windows.h>
#include <string>

// Scrambles the zero-terminated text in place from state a; answers the final state.
BYTE ScrambleText(char* text, BYTE a);
// Undoes ScrambleText from the same start state; answers the final state.
BYTE UnscrambleText(char* text, BYTE a);
// Same over a counted run of bytes (no zero inside).
BYTE ScrambleBytes(char* text, size_t n, BYTE a);
BYTE UnscrambleBytes(char* text, size_t n, BYTE a);

// A fresh seed: the low byte of the millisecond tick count, 1 when that is 0.
BYTE NewScrambleSeed();

// The five-character check code of a text ("EMPTY" for the empty text); code gets 6 bytes.
void TextCheckCode(const char* text, char code[6]);

// The record of text made with seed: "A", seed, scrambled check code, scrambled text.
// Its size() excludes the terminating zero it carries. May throw std::bad_alloc.
std::string MakeScrambledRecord(const char* text, BYTE seed);

// Reads a record (a zero-terminated text) into buf of size bytes. Answers the text's length
// + 1, or 0 for an invalid record, a text that does not fit, or a check code that does not
// match; buf then holds the empty text.
int ReadScrambledRecord(const char* record, char* buf, size_t size);
