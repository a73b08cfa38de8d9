/* Ids of the dialogs and their controls, shared by the core and the resource script (which reads
   only #define lines, hence the plain macros). */
#pragma once

#define IDD_MAIN_WINDOW 129
#define IDD_INSTALL_OPTIONS 133
#define IDD_UNINSTALL 136
#define IDD_LICENCE 137

/* Main window. 1 and 2 are also IDOK and IDCANCEL. */
#define IDC_SETUP 1
#define IDC_CANCEL 2
#define IDC_UNINSTALL 3
#define IDC_RUN 1004
#define IDC_VERSION_UP 1010
#define IDC_PROGRESS 1015
#define IDC_PERCENT 1016

/* The confirming and cancelling buttons of every dialog (IDOK and IDCANCEL), also their results. */
#define IDC_OK 1
#define IDC_DISMISS 2

/* Install options dialog. */
#define IDC_FREE_SPACE 1017
#define IDC_FOLDER 1003
#define IDC_CHANGE_FOLDER 1008
#define IDC_START_MENU_LINKS 1005
#define IDC_DESKTOP_LINK 1007

/* Licence dialog. */
#define IDC_LICENCE_TEXT 1009
