// Loading and saving the settings record in section "SYSTEM" of the settings file.
#include "app/countdown_app.h"
#include "app/settings_text.h"

void CCountdownApp::LoadSettings() {
    // The date defaults go through the same parse as stored values.
    const CTime now = CTime::GetCurrentTime();
    m_timeFrom = ParseProfileTime(GetProfileString(kSettingsSection, kKeyFromDate, FormatProfileTime(now)));
    m_timeTo = ParseProfileTime(
        GetProfileString(kSettingsSection, kKeyToDate, FormatProfileTime(now + kDefaultPeriodSeconds)));
    m_strTitle = GetProfileString(kSettingsSection, kKeyTitle, kDefaultTitle);
    m_strSubject = GetProfileString(kSettingsSection, kKeySubject, kDefaultSubject);
}

bool CCountdownApp::SaveSettings() {
    // All four in one write, so that a failure leaves the file as it was.
    return WriteProfileStrings(kSettingsSection, {{kKeyFromDate, FormatProfileTime(m_timeFrom)},
                                                  {kKeyToDate, FormatProfileTime(m_timeTo)},
                                                  {kKeyTitle, m_strTitle},
                                                  {kKeySubject, m_strSubject}}) != FALSE;
}
