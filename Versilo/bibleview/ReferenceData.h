// The "VersiloReference" data that carries one bible reference between panes, into the
// commentary pane and between running copies of the program, and the readers of dropped or
// pasted data. A record is 20 bytes: the reference handle (little-endian) in the numbering
// of the bible it came from, then the identity GUID of that numbering's statistics.
#pragma once
#include <windows.h>
#include <ole2.h>
#include "IBibleStat.h"

constexpr int kReferenceRecordSize = 20;

// The record of ref in the numbering whose identity is given.
void MakeReferenceRecord(int ref, const GUID& identity, BYTE (&record)[kReferenceRecordSize]);

// True when the data object offers format in global memory.
bool DataObjectHasFormat(IDataObject* data, UINT format);
// A copy of the data object's global memory of format, owned by the caller (GlobalFree), or
// null when it has none, offers another medium or the copy cannot be made. The object's
// medium is released in every case.
HGLOBAL GetDataObjectGlobal(IDataObject* data, UINT format);
// The reference of a "VersiloReference" record in the data object (format is its
// registered id), converted into target's numbering; 0 when there is none, the block is
// shorter than a record, or the numbering it names is not loaded. Otherwise what ConvertRef
// wrote, whatever it answered.
int ReadReferenceFromDataObject(IDataObject* data, UINT format, IBibleStat* target);
