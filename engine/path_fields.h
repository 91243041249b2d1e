// Control identifiers of the five path fields, shared by the commands and the dialog template.
#pragma once

#define IDC_IMAGE_PATH 1001
#define IDC_PART1_PATH 1002
#define IDC_PART2_PATH 1003
#define IDC_PART3_PATH 1004
#define IDC_PART4_PATH 1005
