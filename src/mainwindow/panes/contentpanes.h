#pragma once

class frmMain;

// Makes the panes of the contacts, prizes and websites tabs and the recent menus over the
// window's controls, and connects the recent lists' notifier to the window's UpdateMRU.
void WireContentPanes(frmMain& window);
