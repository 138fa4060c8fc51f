// Layers and text styles by the framework's standard.
//
// The layer standard (KyDtInitStdLayer):
//
// | layer              | colour        | line type  | holds                          |
// |--------------------|---------------|------------|--------------------------------|
// | PLAN-ROAD          | 7 white       | Continuous | road edges                     |
// | PLAN-ROAD_CENTER   | 1 red         | CENTER     | road centre lines              |
// | PLAN-CAR_PLACE     | 4 cyan        | Continuous | parking spaces and their labels|
// | PLAN-TREE          | 3 green       | Continuous | trees and planted areas        |
// | PLAN-SAMPLE        | 2 yellow      | Continuous | legend tables                  |
// | PLAN-SYMB_ARROW    | 6 magenta     | Continuous | slope arrows                   |
// | PLAN-SYMB_ELEV     | 5 blue        | Continuous | elevation marks                |
//
// Other names get colour 7 and Continuous. A layer that already exists is left as it is.
#pragma once

#include <string>

#include "host/db/dbid.h"

class AcDbDatabase;

// The id of the named layer of db (null: the working drawing), made white and continuous
// when missing; null for a bad name or no drawing.
AcDbObjectId KyDtInitLayer(const wchar_t* name, AcDbDatabase* db = nullptr);
// The same, a missing layer made with the standard's colour and line type.
AcDbObjectId KyDtInitStdLayer(const wchar_t* name, AcDbDatabase* db = nullptr);
// The drawing's name for a logical layer name (for selection filters). The standard's names
// are used as they stand.
std::wstring KyDtGetLayerName(const wchar_t* name);
// The standard's colour index and line type for a layer name; false for names outside it.
bool KyDtGetStdLayer(const wchar_t* name, int& colorIndex, std::wstring& linetype);

// The named text style of db (null: the working drawing). A missing "TS_DEFAULT" (the
// framework's default style: font "txt" with the Chinese big font "gbcbig.shx", width factor
// 0.7) is made; other missing names give the null id.
AcDbObjectId KyDtInitTextStyle(const wchar_t* name, AcDbDatabase* db = nullptr);
