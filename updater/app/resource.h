// Identifiers of the updater's resources and of the dialog's controls. The control
// identifiers are also what outside tools use to find and press the controls.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)           // labels nobody addresses
#endif

#define IDR_MAINFRAME 128          // program icon, large and small
#define IDD_MYUPDATE_DIALOG 102    // the update dialog
#define IDS_ABOUTBOX 101           // About entry text of the system menu (not shipped)
#define IDM_ABOUTBOX 0x0010        // system menu command of the About entry

#define IDC_BTN_UPDATE 1001        // "更新" / "重新更新" / "更新完成"
#define IDC_BTN_EXIT 1002          // "退出"
#define IDC_PROGRESS 1003          // overall progress, 0..10000
#define IDC_STATUS 1004            // status line
#define IDC_LOG 1017               // update log box
#define IDC_COUNT 1020             // files downloaded / files in total
#define IDC_SPEED 1021             // speed of the last finished file
#define IDC_CURRENT_FILE 1022      // name of the file being downloaded
#define IDC_FILE_LIST 1023         // one row per update file: name, status
