#pragma once
// Numeric ids of the resources in vesperhollow.rc. Plain #defines: the resource compiler reads
// this file too, and it understands nothing else.

#define IDI_APP 1

// Notification-area icons: IDI_TRAY0 is shown while idle, and all twelve in turn while a backup
// runs, so the program steps through them by adding the frame number to IDI_TRAY0.
#define IDI_TRAY0 100
#define IDI_TRAY1 101
#define IDI_TRAY2 102
#define IDI_TRAY3 103
#define IDI_TRAY4 104
#define IDI_TRAY5 105
#define IDI_TRAY6 106
#define IDI_TRAY7 107
#define IDI_TRAY8 108
#define IDI_TRAY9 109
#define IDI_TRAY10 110
#define IDI_TRAY11 111

// Cursor shown while a folder or file is dragged from the folder tree onto the list.
#define IDC_DRAGFOLDER 200

// The folder tree's ten images side by side, 16 x 16, and again at 20, 24 and 32 pixels for
// higher dpi; the image index is the tree's own index.
#define IDB_TREEIMAGES 300
#define IDB_TREEIMAGES20 301
#define IDB_TREEIMAGES24 302
#define IDB_TREEIMAGES32 303
