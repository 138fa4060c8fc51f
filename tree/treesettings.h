// The tree settings shared by the tree command, its dialog, path planting and the area fill.
// The doubles are millimetres kept in the settings store; the texts are the live values in
// drawing units as the dialog's edits hold them.
#pragma once

#include <string>

#include "host/db/dbid.h"
#include "host/mfc/cstring.h"

extern double g_dTreeRadius;
extern double g_dTreeSpacing;
extern double g_dTreeRadiusMin;
extern double g_dTreeRadiusMax;
extern double g_dTreeSpacingMin;
extern double g_dTreeSpacingMax;
extern int g_nTreeBlockSource;  // 0 drawing, 1 library, 2 file
extern int g_nTreeDrawMode;     // 0 point, 1 drag, 2 path, 3 area
extern int g_bTreeRandomRotate;
extern int g_bTreeSelfAdjust;
extern int g_bTreeFixedRadius;
extern int g_bTreeFixedSpacing;
extern CString g_strTreeRadius;
extern CString g_strTreeSpacing;
extern CString g_strTreeRadiusMin;
extern CString g_strTreeRadiusMax;
extern CString g_strTreeSpacingMin;
extern CString g_strTreeSpacingMax;
extern CString g_strTreeBlockFile;
extern AcDbObjectId g_idTreeBlock;
extern int g_nTreeDefaultIndex;

// Where the tree settings live in the settings store.
extern const wchar_t* const kTreeSettingsPath;

// Drawing units per millimetre: 0.001 in a metre drawing, else 1.
double KyTreeUnitFactor();
// A text read as _wtof reads it, but a value that is not finite reads 0.
double KyTreeTextValue(const CString& text);

// The sizes a draw mode plants with, checked before anything is planted: the radius (the
// smallest and, unless fixed, the largest in the area mode) and, in the modes that space trees,
// the spacing must be numbers above 0 and within the geometry's reach. Empty when they are;
// otherwise the message saying which value is wrong and what is expected.
std::wstring KyTreeCheckSizes(int mode);

// Reads the twelve stored values (absent or ill-typed ones leave their variable alone; stored
// sizes that are negative or not finite are ignored, and choices out of range too), then
// formats the six texts from the millimetre values in the working drawing's units.
void KyTreeLoadSettings();
// The millimetre values from the texts (a text that gives no finite number keeps its value),
// then all twelve values written to the store.
void KyTreeSaveSettings();

// True for a non-empty text of digits and at most one '.'.
bool KyTreeIsNumberText(const CString& text);
