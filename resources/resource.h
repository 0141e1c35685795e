// Resource ids of the plug-in's dialogs.
#pragma once
#define IDD_CABRILLO 101
#define IDD_SETUP 111
#define IDD_PREV_QSO 112
