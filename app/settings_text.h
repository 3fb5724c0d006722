// The stored form of the settings: date texts and the default values.
#pragma once

#include "fw/afxstr.h"
#include "fw/afxtime.h"

extern const char* const kSettingsSection; // "SYSTEM"
extern const char* const kKeyFromDate;
extern const char* const kKeyToDate;
extern const char* const kKeyTitle;
extern const char* const kKeySubject;
extern const char* const kDefaultTitle;
extern const char* const kDefaultSubject;

// The default due time lies this far after the current time.
constexpr int kDefaultPeriodSeconds = 432000;

// "%Y/%m/%d %H:%M:%S" in local time; empty for the invalid time.
CString FormatProfileTime(CTime time);

// Reads "%d/%d/%d %d:%d:%d" loosely: numbers not reached count as 0, the fields carry into
// their neighbours, and a moment the time type cannot hold gives -1.
CTime ParseProfileTime(const char* pszText);
