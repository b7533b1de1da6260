// The settings pages of the program: "General" and "Email", shown by the main dialog's host.
#pragma once

// Registers both pages; called once before the main dialog is built.
void RegisterPreferencesPages();
