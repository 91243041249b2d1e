// The main dialog's controls as drawn, for the tests that read them back: from the
// resource stored in the executable, and from the live dialog.
#pragma once

#include "resource_ids.h"

#include <windows.h>

struct ControlRow {
    int id;
    const char* className;
    const char* text;
    DWORD style;
    DWORD exStyle;
    RECT units;   // x, y, width, height in dialog units, as the template gives them
};

// Control by control in template order, which is the tab order.
inline constexpr ControlRow kTemplate[] = {
    {IDC_FRAME_EXIT, "Static", "", 0x50000000, WS_EX_CLIENTEDGE, {216, 87, 62, 20}},
    {IDC_FRAME_SPLIT, "Button", "", 0x50000007, 0, {216, 1, 62, 28}},
    {IDC_FRAME_MERGE, "Button", "", 0x50000007, 0, {216, 31, 62, 27}},
    {IDC_GROUP_PARTS, "Button", "PARTS", 0x50000007, 0, {2, 31, 211, 76}},
    {IDC_GROUP_IMAGE, "Button", "ROM", 0x50000007, 0, {2, 1, 211, 28}},
    {IDC_IMAGE_PATH, "Edit", "", 0x50010080, WS_EX_CLIENTEDGE, {5, 12, 185, 13}},
    {IDC_BROWSE_IMAGE, "Button", "...", 0x50010000, 0, {193, 12, 15, 13}},
    {IDC_PART1_PATH, "Edit", "", 0x50010080, WS_EX_CLIENTEDGE, {5, 41, 185, 13}},
    {IDC_BROWSE_PART1, "Button", "...", 0x50010000, 0, {193, 41, 15, 13}},
    {IDC_PART2_PATH, "Edit", "", 0x50010080, WS_EX_CLIENTEDGE, {5, 58, 185, 13}},
    {IDC_BROWSE_PART2, "Button", "...", 0x50010000, 0, {193, 58, 15, 13}},
    {IDC_PART3_PATH, "Edit", "", 0x58010080, WS_EX_CLIENTEDGE, {5, 74, 185, 13}},
    {IDC_BROWSE_PART3, "Button", "...", 0x58010000, 0, {193, 74, 15, 13}},
    {IDC_PART4_PATH, "Edit", "", 0x58010080, WS_EX_CLIENTEDGE, {5, 90, 185, 13}},
    {IDC_BROWSE_PART4, "Button", "...", 0x58010000, 0, {193, 91, 15, 13}},
    {IDC_FOUR_PARTS, "Button", "4", 0x50010003, 0, {222, 69, 24, 10}},
    {IDOK, "Button", "1 -> M", 0x50010001, 0, {222, 11, 49, 15}},
    {IDC_MERGE, "Button", "M -> 1", 0x50010000, 0, {222, 41, 49, 14}},
    {IDCANCEL, "Button", "Exit", 0x50010000, 0, {222, 90, 49, 15}},
};
