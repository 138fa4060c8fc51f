// The road settings shared by the road command, its dialog, the preview and the edge stage.
// The texts are the live values (drawing units); the doubles are the millimetre memory kept
// from one run of the command to the next while the module is loaded.
#pragma once

#include <string>

#include "host/mfc/cstring.h"

extern CString g_strRoadLeftWidth;
extern CString g_strRoadRightWidth;
extern CString g_strRoadFilletRadius;
extern double g_dRoadLeftWidth;     // millimetres
extern double g_dRoadRightWidth;    // millimetres
extern double g_dRoadFilletRadius;  // millimetres
extern int g_bRoadCenterLine;
extern int g_bRoadFillet;
extern int g_nRoadFilletStyle;  // 0 same centre, 1 same radius
extern int g_nRoadPosLine;      // 0 centre line, 1 left edge, 2 right edge

// Drawing units per millimetre of the working drawing: 0.001 in a metre drawing, else 1.
double KyRoadUnitFactor();

// A length given in millimetres in the working drawing's units. The tolerances and reaches of
// the road code go through it, so that a metre drawing behaves exactly as the same drawing in
// millimetres.
double KyRoadMm(double millimetres);
// Two points closer than this (drawing units) are one point.
double KyRoadDistZero();

// A setting text read as a number the way the dialog's consumers read it (_wtof, so text
// that is no number reads 0); a value that is not finite reads 0 as well, so no infinity or
// NaN reaches an offset or an entity.
double KyRoadTextValue(const CString& text);
double KyRoadLeftWidth();
double KyRoadRightWidth();
double KyRoadFilletRadius();

// Which of the three sizes a text gives.
enum KyRoadSize { kRoadLeftWidth, kRoadRightWidth, kRoadFilletRadius };
// Empty when text is usable for that size (a width a number above 0, the radius a number at or
// above 0, neither beyond the largest drawing size); else the message saying what was wrong and
// what is expected, naming the value kept instead.
std::wstring KyRoadCheckSize(KyRoadSize size, const CString& text, const CString& kept);

// The texts from the millimetre memory in the working drawing's units ("%.2f"), and the
// memory back from the texts. A text that is no usable size leaves its memory as it was.
void KyRoadSettingsToTexts();
void KyRoadTextsToSettings();
