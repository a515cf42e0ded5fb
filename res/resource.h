// Identifiers of the Windows dialog's resources, shared by the resource
// script and the program.
#pragma once

#define IDI_MAIN 128
#define IDB_BANNER 130
