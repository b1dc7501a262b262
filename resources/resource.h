/* Resource identifiers of orvanta.exe, shared by orvanta.rc and the program. */
#ifndef ORVANTA_RESOURCES_RESOURCE_H
#define ORVANTA_RESOURCES_RESOURCE_H

/* Dialogs */
#define IDD_ABOUT           103
#define IDD_MAIN            129

/* Menu, accelerator table and the window class name share one number */
#define IDR_ORVANTA         109

/* Strings */
#define IDS_APP_TITLE       103
#define IDS_WINDOW_CLASS    109

/* Icons */
#define IDI_ORVANTA         107
#define IDI_ORVANTA_SMALL   108

/* Bitmaps */
#define IDB_CHART           138

/* Menu commands */
#define IDM_ABOUT           104
#define IDM_EXIT            105

/* Controls of the main dialog */
#define IDC_CODE            1000
#define IDC_CONVERT         1001
#define IDC_LONGITUDE       1002
#define IDC_LATITUDE        1003
#define IDC_MESSAGE         1012
#define IDC_GRID            1013
#define IDC_CHART           1014

/* Controls of the About box */
#define IDC_ABOUT_TEXT      1015

#ifndef IDC_STATIC
#define IDC_STATIC          (-1)
#endif

#endif
