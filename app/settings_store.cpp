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
    // Every key is attempted even after a failure, so that as much as possible is kept.
    bool bSaved = WriteProfileString(kSettingsSection, kKeyFromDate, FormatProfileTime(m_timeFrom)) != FALSE;
    bSaved &= WriteProfileString(kSettingsSection, kKeyToDate, FormatProfileTime(m_timeTo)) != FALSE;
    bSaved &= WriteProfileString(kSettingsSection, kKeyTitle, QuoteProfileValue(m_strTitle)) != FALSE;
    bSaved &= WriteProfileString(kSettingsSection, kKeySubject, QuoteProfileValue(m_strSubject)) != FALSE;
    return bSaved;
}
