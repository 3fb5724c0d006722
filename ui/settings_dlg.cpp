// The settings dialog.
#include "ui/settings_dlg.h"

#include <limits>

#include "app/countdown_app.h"
#include "res/resource.h"
#include "ui/about_dlg.h"
#include "ui/combine.h"

namespace {

// The date pickers offer only the local days a stored time can fall on. On the first and last
// of them some times of day lie outside the span; CombineDateTime holds those to its ends.
void LimitToTimeSpan(CDateTimeCtrl& ctl) {
    SYSTEMTIME first{};
    SYSTEMTIME last{};
    if (!TimeToSystemTime(CTime(0), &first) ||
        !TimeToSystemTime(CTime(std::numeric_limits<std::int32_t>::max()), &last))
        return;
    first.wHour = first.wMinute = first.wSecond = 0;
    last.wHour = 23;
    last.wMinute = last.wSecond = 59;
    ctl.SetRange(&first, &last);
}

// The date picker's date with the time picker's time of day, read as fields: either picker's
// other fields may name a moment outside the span, which has no CTime.
CTime CombinePickers(const CDateTimeCtrl& ctlDate, const CDateTimeCtrl& ctlTime) {
    SYSTEMTIME date{};
    SYSTEMTIME time{};
    ctlDate.GetTime(date);
    ctlTime.GetTime(time);
    return CombineDateTime(date.wYear, date.wMonth, date.wDay, time.wHour, time.wMinute, time.wSecond);
}

} // namespace

CSettingsDlg::CSettingsDlg(CWnd* pParent)
    : CDialog(IDD_SETTINGS, pParent),
      m_hIcon(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))),
      m_wndPreview(FALSE) {}

CSettingsDlg::~CSettingsDlg() = default;

const MsgMap* CSettingsDlg::GetMessageMap() const {
    static constexpr MsgEntry entries[] = {
        On<WM_SYSCOMMAND, &CSettingsDlg::OnSysCommand>(),
        On<WM_PAINT, &CSettingsDlg::OnPaint>(),
        On<WM_QUERYDRAGICON, &CSettingsDlg::OnQueryDragIcon>(),
        OnCommand<IDC_VERSION_INFO, BN_CLICKED, &CSettingsDlg::OnVersionInfo>(),
    };
    static const MsgMap map{CDialog::GetMessageMap(), entries, std::size(entries)};
    return &map;
}

void CSettingsDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TO_TIME, m_ctlToTime);
    DDX_Control(pDX, IDC_TO_DATE, m_ctlToDate);
    DDX_Control(pDX, IDC_FROM_TIME, m_ctlFromTime);
    DDX_Control(pDX, IDC_FROM_DATE, m_ctlFromDate);
    // Attached before their limits are set, so that the limits count bytes.
    DDX_Control(pDX, IDC_SUBJECT, m_ctlSubject);
    DDX_Control(pDX, IDC_TITLE, m_ctlTitle);
    DDX_Text(pDX, IDC_SUBJECT, m_strSubjectEdit);
    DDV_MaxChars(pDX, m_strSubjectEdit, kMaxTextBytes);
    DDX_Text(pDX, IDC_TITLE, m_strTitleEdit);
    DDV_MaxChars(pDX, m_strTitleEdit, kMaxTextBytes);
}

BOOL CSettingsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    LimitToTimeSpan(m_ctlFromDate);
    LimitToTimeSpan(m_ctlToDate);

    const CCountdownApp* pApp = GetCountdownApp();
    m_ctlFromDate.SetTime(pApp->m_timeFrom);
    m_ctlFromTime.SetTime(pApp->m_timeFrom);
    m_ctlToDate.SetTime(pApp->m_timeTo);
    m_ctlToTime.SetTime(pApp->m_timeTo);

    m_strTitleEdit = pApp->m_strTitle;
    m_strSubjectEdit = pApp->m_strSubject;
    UpdateData(FALSE);

    // The hidden control only marks the preview's place.
    RECT rect{};
    ::GetWindowRect(GetDlgItem(IDC_PREVIEW), &rect);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    m_wndPreview.SetSettings(pApp->Settings());
    m_wndPreview.Create(0, WS_CHILD | WS_VISIBLE, rect, m_hWnd);
    return TRUE;
}

void CSettingsDlg::OnOK() {
    m_timeFromEdit = CombinePickers(m_ctlFromDate, m_ctlFromTime);
    m_timeToEdit = CombinePickers(m_ctlToDate, m_ctlToTime);
    CDialog::OnOK();
}

void CSettingsDlg::OnSysCommand(UINT, LPARAM) {
    Default();
}

void CSettingsDlg::OnPaint() {
    if (!::IsIconic(m_hWnd)) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    RECT rect{};
    ::GetClientRect(m_hWnd, &rect);
    const int x = (rect.right - rect.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (rect.bottom - rect.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
}

HCURSOR CSettingsDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}

void CSettingsDlg::OnVersionInfo() {
    CAboutDlg dlg;
    dlg.DoModal();
}
