#pragma once

// Fills g_szStartupDir with the user's Startup folder as the shell names it,
// or, when the shell cannot answer, as the system's default layout names it
// for this major version and logon name. False when the path does not fit:
// g_szStartupDir is then empty and the Startup links are off.
bool InitStartupDir(int majorVersion);
