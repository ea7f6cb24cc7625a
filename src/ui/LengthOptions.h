// The main window's word length options, set up on a list of its own or a
// test's: one row per length, three columns, no frame, the window font.
#pragma once

class TKsCheckListBox;

namespace lexigrove {

// Fills `list` with the rows "2 Letter" to "14 Letter" and "15+ Letter"
// and gives it the look and focus of the window's length options.
void SetUpLengthOptions(TKsCheckListBox& list);

}  // namespace lexigrove
