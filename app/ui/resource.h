// The resource ids, shared by the resource scripts and the code.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Dialog templates of the four pages.
#define IDD_LICENSE 102
#define IDD_DRIVE_SELECT 103
#define IDD_BACKUP_WARN 104
#define IDD_UPDATE_PROGRESS 105

#define IDR_MAINFRAME 128  // icon group
#define IDB_HEADER 130     // the Wizard 97 header bitmap, 49 x 49

// The rich text documents, of our own resource type.
#define RT_VLXFM_RTF 2020
#define IDR_LICENSE_RTF 133
#define IDR_WARNING_RTF 134

// License page.
#define IDC_AGREE 1003
#define IDC_DISAGREE 1004
#define IDC_LICENSE_TEXT 1022

// Drive selection page.
#define IDC_DRIVE_TREE 1009
#define IDC_MODEL 1010
#define IDC_SERIAL 1011
#define IDC_FIRMWARE 1012
#define IDC_MESSAGE 1014

// Backup warning page.
#define IDC_UPDATE 1015
#define IDC_NO_UPDATE 1016
#define IDC_WARNING_TEXT 1023

// Update progress page.
#define IDC_LOG 1019
#define IDC_PROGRESS 1020
#define IDC_PERCENT 1021
