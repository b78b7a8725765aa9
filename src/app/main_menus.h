// The main window's menu bar: ファイル, 編集, 表示, ツール and ヘルプ, each item
// with its mnemonic and the usual shortcut.
#pragma once

namespace velk {

class EditorSession;
class FileCommands;
class Workbench;

void buildMainMenus(Workbench& window, EditorSession& session, FileCommands& files);

}  // namespace velk
