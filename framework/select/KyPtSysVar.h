// Scoped state of a command: integer system variables, framework flags and undo groups
// restored on every way out; the framework's cancel; integer result buffers.
#pragma once

#include <string>

#include "host/ed/adsdefs.h"

// Running object snaps only to the base curve of the command: saved and restored by commands.
extern bool g_bOnlySnapBaseCurve;

// An integer system variable: RTNORM with its value; RTERROR for an unknown or non-integer
// variable (value unchanged).
int KyPtGetVar(const wchar_t* name, int& value);

// A result buffer holding an integer (RTSHORT), as acedSetVar takes it.
class KyAdsResBuf {
public:
    explicit KyAdsResBuf(int value);
    operator const resbuf*() const { return &m_rb; }  // NOLINT: passed straight to acedSetVar
    const resbuf* Get() const { return &m_rb; }

private:
    resbuf m_rb;
};

// Sets an integer system variable for the guard's life and puts the old value back at the
// end, whatever the way out. A variable that cannot be read is left alone.
class KyPtPushSysVar {
public:
    KyPtPushSysVar(const wchar_t* name, int value);
    ~KyPtPushSysVar();
    KyPtPushSysVar(const KyPtPushSysVar&) = delete;
    KyPtPushSysVar& operator=(const KyPtPushSysVar&) = delete;

    // The value before the guard (0 when it could not be read).
    int GetOldValue() const { return m_nOld; }
    bool IsValid() const { return m_bValid; }

private:
    std::wstring m_strName;
    int m_nOld = 0;
    bool m_bValid = false;
};

// Saves a variable, optionally sets it, and restores the saved value at the end.
template <class T>
class KyPushVar {
public:
    explicit KyPushVar(T& var) : m_var(var), m_old(var) {}
    KyPushVar(T& var, const T& value) : m_var(var), m_old(var) { m_var = value; }
    ~KyPushVar() { m_var = m_old; }
    KyPushVar(const KyPushVar&) = delete;
    KyPushVar& operator=(const KyPushVar&) = delete;
    const T& GetOldValue() const { return m_old; }

private:
    T& m_var;
    T m_old;
};

// One undo group from construction to destruction (UNDO BEGIN ... END, echo off).
class KyPtPushUndoGroup {
public:
    KyPtPushUndoGroup();
    ~KyPtPushUndoGroup();
    KyPtPushUndoGroup(const KyPtPushUndoGroup&) = delete;
    KyPtPushUndoGroup& operator=(const KyPtPushUndoGroup&) = delete;

private:
    bool m_bOpen = false;
};

// A cancel at the front of the editor's input: the pending prompt ends with RTCAN.
void KySendESC();
