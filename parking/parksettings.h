// The parking settings shared by the parking dialog, the row drag and the parking command. The
// texts are the live values in drawing units; the two doubles are the millimetre memory kept
// from one run of the command to the next while the module is loaded.
#pragma once

#include <string>

#include "host/mfc/cstring.h"

extern CString g_strParkWidth;
extern CString g_strParkDepth;
extern CString g_strParkAngle;
extern CString g_strParkRows;
extern CString g_strParkStyle;
extern int g_bParkLabelCount;
extern int g_nParkStyleIndex;   // list index of the style, drives the preview
extern int g_nParkActiveField;  // ParkField marked in the preview
extern double g_dParkWidth;     // millimetres
extern double g_dParkDepth;     // millimetres

enum ParkSpaceStyle { kParkNoDiagonal = 0, kParkSingleDiagonal = 1, kParkDoubleDiagonal = 2, kParkWithCar = 3 };
enum ParkField { kParkFieldWidth = 0, kParkFieldDepth = 1, kParkFieldAngle = 2 };

// Drawing units per millimetre of the working drawing: 0.001 in a metre drawing, else 1.
double KyParkUnitFactor();

// A setting text read as a number (_wtof, so text that is no number reads 0); a value that is
// not finite reads 0 too, so no infinity or NaN reaches a space or an entity.
double KyParkTextValue(const CString& text);
// The one check of the sizes every row is laid with: the width text must be a number above
// 100 mm (in drawing units), the depth one above 0, both within the geometry's reach, the angle
// a number of degrees above 0 and below 180.
// Empty when they are; otherwise the message that says which value is wrong and what is
// expected (the command refuses the answer with it and asks again).
std::wstring KyParkCheckSizes(const CString& width, const CString& depth, const CString& angle);
// The style index of a style text: "有停车" 3, "无斜线" 0, "单斜线" 1, any other text 2.
int KyParkStyleFromText(const CString& text);
// Whether the rows text asks for a double row (the translated "双排").
bool KyParkIsDoubleRow(const CString& text);

// The size texts from the millimetre memory in the working drawing's units ("%.2f"), and the
// memory back from the texts. A text that reads as no finite number leaves its memory as it was.
void KyParkSettingsToTexts();
void KyParkTextsToSettings();
