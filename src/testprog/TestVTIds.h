// Resource names and control ids shared by the resource script and the program.
#pragma once

#define IDC_OPEN_DIALOG 101
#define IDC_OPEN_ITEM_DIALOG 102
