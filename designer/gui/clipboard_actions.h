// Copy, Cut, Paste and Duplicate of components and modules in the design view,
// through the system clipboard as project-file records, so that a paste into
// another running designer reads the same bytes.
#pragma once

namespace zor2::gui {

class CMainWindow;

/// The MIME type of copied components and modules.
inline constexpr char kItemsMime[] = "application/x-zor2-items";

/// Adds the four actions with their usual keys to the window's design view.
void InstallClipboardActions(CMainWindow& window);

}  // namespace zor2::gui
