// The command-line input calls, printing and the small point helpers of the host's programming
// interface. Every call blocks until the user has answered; bad answers get a short message
// and the prompt again and never reach the caller. Points are in user coordinates.
#pragma once

#include <cstddef>

#include "host/ed/adsdefs.h"

// Bits (RSG_...) and a space-separated keyword list ("A U C", "Arc Undo", local and global
// lists split by " _ ") for the next input call only; matching is case-insensitive by the
// keyword's capital letters or its full text.
int acedInitGet(int val, const wchar_t* kwl);

// RTNORM with a point; RTNONE on Enter; RTCAN on Esc; RTKWORD for a keyword. base (may be
// null) draws a rubber band and is what "@dx,dy" would not be relative to: "@" always
// refers to the last point given.
int acedGetPoint(const ads_point base, const wchar_t* prompt, ads_point result);
// The other corner of a rectangle from base (required).
int acedGetCorner(const ads_point base, const wchar_t* prompt, ads_point result);
// A distance: a number, or a point (the distance from base, or from a first point asked for).
int acedGetDist(const ads_point base, const wchar_t* prompt, ads_real* result);
int acedGetReal(const wchar_t* prompt, ads_real* result);
// A whole number from -32768 to 32767.
int acedGetInt(const wchar_t* prompt, int* result);
// An angle in radians in user coordinates: a number of degrees, or a point (from base, or
// from a first point asked for).
int acedGetAngle(const ads_point base, const wchar_t* prompt, ads_real* result);
int acedGetOrient(const ads_point base, const wchar_t* prompt, ads_real* result);
// Text; cronly 0 ends the text at its first space. Enter gives RTNORM with "". The answer is
// cut to bufLen - 1 characters (RTINPUTTRUNCATED then).
int acedGetString(int cronly, const wchar_t* prompt, wchar_t* result, std::size_t bufLen);
int acedGetString(int cronly, const wchar_t* prompt, wchar_t* result);  // kAdsMaxInput + 1
// One of the keywords of acedInitGet (the full keyword is returned).
int acedGetKword(const wchar_t* prompt, wchar_t* result, std::size_t bufLen);
int acedGetKword(const wchar_t* prompt, wchar_t* result);  // kAdsMaxInput + 1
// The keyword (or the arbitrary text, with RSG_OTHER) of the last RTKWORD answer.
int acedGetInput(wchar_t* result, std::size_t bufLen);
int acedGetInput(wchar_t* result);  // kAdsMaxInput + 1

// Input of the graphics screen: track bit 1 returns cursor moves (type 5), bit 8 says nothing
// on Esc. Answers: type 5 moves and type 3 picks with an RT3DPOINT in user coordinates,
// type 2 keys with an RTSHORT character code (13 for Enter). RTCAN on Esc.
int acedGrRead(int track, int* type, resbuf* result);

// A temporary vector on the graphics screen between two points in user coordinates, in colour
// (a colour index; -1, the inverting ink, shows as 7), highlighted when hl is non-zero. It is
// kept, and shown by pictures taken meanwhile (@snapshot), until the screen is redrawn.
// RTNORM; RTREJ for non-finite points.
int acedGrDraw(const ads_point from, const ads_point to, int color, int hl);
// With a null name the whole screen is redrawn: the temporary vectors go. An entity's redraw
// changes nothing headless. RTNORM.
int acedRedraw(const ads_name ent, int mode);

// Printf into the transcript; %s and %c take wide strings and characters.
int acutPrintf(const wchar_t* format, ...);
// Prompts printed as they stand.
int acedPrompt(const wchar_t* text);

void acutPolar(const ads_point pt, ads_real angle, ads_real dist, ads_point result);
ads_real acutAngle(const ads_point pt1, const ads_point pt2);
ads_real acutDistance(const ads_point pt1, const ads_point pt2);

// Runs host commands synchronously from inside a command: (type, value) pairs ended by 0, as
// acutBuildList takes them. The first string names the command; the rest answer its prompts
// in order: strings as typed ("" is Enter), numbers, points (user coordinates), entity names,
// selection sets, and (RTLB, RTENAME, point, RTLE) for an entity picked at a point. Further
// strings after the command has ended start the next command. CMDECHO 0 hides their prompts.
// RTNORM; RTREJ for an unknown command or a malformed list; RTCAN when a prompt asked for
// more than the list gave (the command is then cancelled, never left waiting).
int acedCommand(int rtype, ...);
int acedCmd(const resbuf* rb);

// Esc at the front of the input queue: the pending prompt ends with RTCAN. What the
// framework's KySendESC calls.
void acedPostCancel();

#include <vector>

namespace vorn::ed {
// A temporary vector of acedGrDraw, in world coordinates.
struct TemporaryVector {
    double from[3];
    double to[3];
    int colorIndex;
    bool highlight;
};
// The temporary vectors on the screen now, oldest first.
const std::vector<TemporaryVector>& TemporaryVectors();
}  // namespace vorn::ed
