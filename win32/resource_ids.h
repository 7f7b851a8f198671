#pragma once
// Identifiers of the resources compiled into the program (resources/brivana.rc.in); the
// controls' pictures are named there as the design table names them.

#define IDI_BRIVANA 1
#define IDC_POINTER 20

#define IDD_NAME_PROMPT 100
#define IDC_PROMPT_TEXT 101
#define IDC_PROMPT_NAME 102
