#pragma once

// Resource numbers of the program's icons, shared by the resource script and the code.
#define VCIT_IDI_APP 1
#define VCIT_IDI_ABOUT 2
