#pragma once
// Identifiers of the resources compiled into the program (resources/brivana.rc.in).

#define IDI_BRIVANA 1
#define IDI_NEXT 10
#define IDI_NEXT_PRESSED 11
#define IDI_NEXT_DISABLED 12
#define IDI_EXIT 13
#define IDI_CLOCK 14
#define IDC_POINTER 20

#define IDD_NAME_PROMPT 100
#define IDC_PROMPT_TEXT 101
#define IDC_PROMPT_NAME 102
