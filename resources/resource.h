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

// The combo-box lists of a dialog, under the dialog's id.
#define RT_DIALOG_INIT 240
#define DLGINIT_CB_ADDSTRING 0x0403
