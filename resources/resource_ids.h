// Resource and control identifiers shared by main.rc and the dialog code. The five
// path fields are named in path_fields.h, which the commands use too.
#pragma once

#include "path_fields.h"

// Icon
#define IDI_MAIN 30

// Dialog
#define IDD_MAIN 1000

// Browse buttons, each five above its path field
#define IDC_BROWSE_IMAGE 1006
#define IDC_BROWSE_PART1 1007
#define IDC_BROWSE_PART2 1008
#define IDC_BROWSE_PART3 1009
#define IDC_BROWSE_PART4 1010

// Merge button and the four-part check box
#define IDC_MERGE 1011
#define IDC_FOUR_PARTS 1012

// Group boxes and frames, which never take the focus
#define IDC_GROUP_IMAGE 1013
#define IDC_GROUP_PARTS 1014
#define IDC_FRAME_MERGE 1015
#define IDC_FRAME_SPLIT 1016
#define IDC_FRAME_EXIT 1017
