// System variables: acedSetVar/acedGetVar over a registry of named variables. The editor's own
// (CMDECHO, OSMODE, PICKBOX, APERTURE, PIXELSIZE) live here; the drawing's (FILLETRAD, CLAYER,
// DRAWUNIT, PRINTSCALE) are registered over the database.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/ed/adsdefs.h"

// RTNORM; RTERROR for an unknown name; RTREJ for a value of the wrong type or out of range.
int acedSetVar(const wchar_t* name, const resbuf* value);
// Fills result (integers as RTSHORT, reals as RTREAL, texts as RTSTR allocated with new[]:
// release with acutDelString). RTNORM or RTERROR for an unknown name.
int acedGetVar(const wchar_t* name, resbuf* result);
void acutDelString(wchar_t*& text);

namespace vorn::ed {

// get fills out (its string, if any, allocated with new[]); set returns false with a reason.
struct SysVarAccess {
    std::function<bool(resbuf& out)> get;
    std::function<bool(const resbuf& in, std::wstring& error)> set;
};
// Names are case-insensitive; a later registration replaces an earlier one.
void RegisterSysVar(const std::wstring& name, SysVarAccess access);
std::vector<std::wstring> SysVarNames();

// An integer variable with its allowed range, kept by the registry itself.
void RegisterIntSysVar(const std::wstring& name, int initial, int lo, int hi);

// For the SETVAR command and tests: the value as text and set from text.
bool GetSysVarText(const std::wstring& name, std::wstring& text);
bool SetSysVarFromText(const std::wstring& name, const std::wstring& text, std::wstring& error);
// An integer variable's value, or fallback when it is missing or not an integer.
int GetIntSysVar(const std::wstring& name, int fallback);

int CmdEcho();
int OsMode();
int PickBox();   // pick distance in pixels
int Aperture();  // snap distance in pixels
// Drawing units per pixel of the view: pick and snap distances are pixels times this.
double PixelSize();
// 1: file prompts open a file dialog where a window offers one; 0: they ask on the command line.
int FileDia();
// 1: points given with the mouse go horizontally or vertically from the last point.
int OrthoMode();

// Back to the editor's defaults (drawing variables untouched).
void ResetEditorSysVars();

}  // namespace vorn::ed
