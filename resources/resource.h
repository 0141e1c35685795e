// Resource ids of the plug-in's dialogs and their controls.
#pragma once
#define IDD_CABRILLO 101
#define IDD_SETUP 111
#define IDD_PREV_QSO 112

// Cabrillo header dialog (IDD_CABRILLO).
#define IDC_SOAPBOX 1002
#define IDC_ADDRESS 1004
#define IDC_ADDRESS_CITY 1008
#define IDC_EMAIL 1009
#define IDC_CLUB 1010
#define IDC_OPERATORS 1011
#define IDC_NAME 1012
#define IDC_CLAIMED 1013
#define IDC_CONTEST 1014
#define IDC_CALLSIGN 1015
#define IDC_ADDRESS_POSTALCODE 1017
#define IDC_ADDRESS_COUNTRY 1018
#define IDC_CATEGORY_OPERATOR 1019
#define IDC_CATEGORY_BAND 1020
#define IDC_CATEGORY_MODE 1021
#define IDC_CATEGORY_TIME 1023
#define IDC_CATEGORY_ASSISTED 1024

// Setup window (IDD_SETUP).
#define IDC_SETUP_CW 1005
#define IDC_SETUP_SSB 1006
#define IDC_SETUP_MODE_LABEL 1026
#define IDC_SETUP_VIEW_LABEL 1027
#define IDC_SETUP_ON_TOP 1028
#define IDC_SETUP_VIEW_PREV 1030

// Previous QSO window (IDD_PREV_QSO): the table, an owner-drawn button.
#define IDC_PREV_TABLE 1006

// The combo-box lists of a dialog, under the dialog's id.
#define RT_DIALOG_INIT 240
#define DLGINIT_CB_ADDSTRING 0x0403
