#pragma once
// The program's working screens, registered with the screen registry as the program
// opens them: main does it at start, and the accessibility test's tour of the screens
// does the same, so it walks the very screens the program shows.

namespace papyrant {

struct AutoRemoveOptions;

// autoRemove: which fields auto remove compares, kept for as long as the program runs.
void registerProgramScreens(AutoRemoveOptions& autoRemove);

} // namespace papyrant
