#pragma once

#include <string_view>

// Every command of the main window in one table: the word a menu item writes into the mailbox,
// its toolbar button, its caption, its shortcut and what screen readers say about it. The
// toolbar, the mailbox, the keyboard, the screen-reader texts and the skin's toolbar artwork all
// read it; `frmMain::RunCommand` holds what each one does (the compiler asks for a new one).
namespace Commands {

enum class CommandId {
    AddFile,
    AddFolder,
    Remove,
    RemoveSelected,
    Options,
    Help,
    Exit,
    About,
    Convert,
    Stop
};

// How a mailbox word or a shortcut reaches its command: directly, or as a click on the command's
// toolbar button (which puts the start panel away first).
enum class Route { Direct, Toolbar };

// Which control's state a shortcut follows: it acts only where a click on that control could.
enum class KeyGate { None, ToolbarButton, RemoveButton, Convert, Help, Exit, Stop };

struct Command
{
    CommandId id;
    const char *word; // written into the mailbox by a menu item; nullptr when no item does
    Route wordRoute;
    int toolbarIndex; // -1 when it has no toolbar button
    const char *caption;
    const char *description;
    const char *shortcut; // QKeySequence's portable text; nullptr when it has none
    Route keyRoute;
    KeyGate keyGate;
};

constexpr int kNoToolbarButton = -1;

// The mailbox words are compared in this order, each with the mailbox as it is by then.
inline constexpr Command kCommands[] = {
    {CommandId::RemoveSelected, "RemoveSelected", Route::Direct, kNoToolbarButton, "Remove Selected",
     "Remove the selected file", "Del", Route::Direct, KeyGate::RemoveButton},
    {CommandId::About, "A", Route::Direct, kNoToolbarButton, "About", "About Brimwave", nullptr,
     Route::Direct, KeyGate::None},
    {CommandId::AddFile, "AddaFile", Route::Direct, 0, "Add File", "Add a file to the queue", "Ctrl+O",
     Route::Toolbar, KeyGate::ToolbarButton},
    {CommandId::AddFolder, "menuAddaFolder", Route::Toolbar, 6, "Add Folder",
     "Add every file in a folder and its subfolders", "Ctrl+Shift+O", Route::Toolbar, KeyGate::ToolbarButton},
    {CommandId::Exit, "menuExit", Route::Direct, 4, "Exit", "Save the choices and quit", "Ctrl+Q",
     Route::Direct, KeyGate::Exit},
    {CommandId::Help, "menuHelp", Route::Direct, 3, "Help", "Open the tutorial", "F1", Route::Direct,
     KeyGate::Help},
    {CommandId::Options, "menuOption", Route::Toolbar, 2, "Options", "Finish sound and Music Cutter", nullptr,
     Route::Direct, KeyGate::None},
    {CommandId::Remove, nullptr, Route::Direct, 1, "Remove", "Remove the selected file or all files", nullptr,
     Route::Direct, KeyGate::None},
    {CommandId::Convert, nullptr, Route::Direct, kNoToolbarButton, "Convert",
     "Convert every file in the queue", "Ctrl+Return", Route::Direct, KeyGate::Convert},
    // The keypad's Enter converts too.
    {CommandId::Convert, nullptr, Route::Direct, kNoToolbarButton, "Convert",
     "Convert every file in the queue", "Ctrl+Enter", Route::Direct, KeyGate::Convert},
    {CommandId::Stop, nullptr, Route::Direct, kNoToolbarButton, "Stop",
     "Stop converting; the files not done stay queued", "Esc", Route::Direct, KeyGate::Stop},
};

// The command behind toolbar button `index`, or nullptr (index 5 has none).
constexpr const Command *AtToolbar(int index)
{
    for (const Command &command : kCommands) {
        if (command.toolbarIndex == index)
            return &command;
    }
    return nullptr;
}

// The first row of command `id` (the one that names it).
constexpr const Command &Of(CommandId id)
{
    for (const Command &command : kCommands) {
        if (command.id == id)
            return command;
    }
    return kCommands[0];
}

// What toolbar button `index` says.
constexpr const char *ToolbarCaption(int index)
{
    const Command *command = AtToolbar(index);
    return command ? command->caption : "";
}

} // namespace Commands
