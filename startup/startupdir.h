#pragma once

// Fills g_szStartupDir for this system and logon name. False when the path
// does not fit: g_szStartupDir is then empty and the Startup links are off.
bool InitStartupDir(int majorVersion);
