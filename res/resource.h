// Resource identifiers shared by the resource script and the code.
#pragma once

#define IDR_MAINFRAME 128
#define IDC_SAVER_CURSOR 129
#define IDD_ABOUT 131
#define IDC_LINK_CURSOR 132
#define IDD_SETTINGS 102
#define IDS_DESCRIPTION 1

// Labels and frames the code never addresses.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDC_PREVIEW 1006
#define IDC_FROM_DATE 1008
#define IDC_TO_DATE 1009
#define IDC_FROM_TIME 1010
#define IDC_TO_TIME 1011
#define IDC_TITLE 1012
#define IDC_SUBJECT 1013
#define IDC_VERSION_INFO 1014
#define IDC_MAIL_LINK 1016
#define IDC_WEB_LINK 1017
