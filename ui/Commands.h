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
    Stop,
    RemoveAll
};

// How a mailbox word or a shortcut reaches its command: directly, or as a click on the command's
// toolbar button (which puts the start panel away first).
enum class Route { Direct, Toolbar };

// Which control's state a shortcut follows: it acts only where a click on that control could.
enum class KeyGate { None, ToolbarButton, RemoveButton, Convert, Help, Exit, Stop };

// The popup menus, in the order of their tabs (Remove is the list's own menu).
enum class Menu { None, File, Options, About, Remove };

// Where a command's item sits in a menu: which menu, its place there (from the top), its
// caption, and whether a separator comes before it.
struct MenuPlace
{
    Menu menu;
    int order;
    const char *caption;
    bool separatorBefore;
};
constexpr MenuPlace kNoMenuItem{Menu::None, 0, nullptr, false};
constexpr MenuPlace InMenu(Menu menu, int order, const char *caption, bool separatorBefore = false)
{
    return {menu, order, caption, separatorBefore};
}

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
    MenuPlace menuItem;
};

constexpr int kNoToolbarButton = -1;

// The mailbox words are compared in this order, each with the mailbox as it is by then.
inline constexpr Command kCommands[] = {
    {CommandId::RemoveSelected, "RemoveSelected", Route::Direct, kNoToolbarButton, "Remove Selected",
     "Remove the selected file", "Del", Route::Direct, KeyGate::RemoveButton,
     InMenu(Menu::Remove, 0, "Remove Selected")},
    {CommandId::About, "A", Route::Direct, kNoToolbarButton, "About", "About Brimwave", nullptr,
     Route::Direct, KeyGate::None, InMenu(Menu::About, 1, "About(&A)")},
    {CommandId::AddFile, "AddaFile", Route::Direct, 0, "Add File", "Add a file to the queue", "Ctrl+O",
     Route::Toolbar, KeyGate::ToolbarButton, InMenu(Menu::File, 0, "Add a File(&A)")},
    {CommandId::AddFolder, "menuAddaFolder", Route::Toolbar, 6, "Add Folder",
     "Add every file in a folder and its subfolders", "Ctrl+Shift+O", Route::Toolbar, KeyGate::ToolbarButton,
     InMenu(Menu::File, 1, "Add a Folder(&F)")},
    {CommandId::Exit, "menuExit", Route::Direct, 4, "Exit", "Save the choices and quit", "Ctrl+Q",
     Route::Direct, KeyGate::Exit, InMenu(Menu::File, 2, "Exit(&E)", true)},
    {CommandId::Help, "menuHelp", Route::Direct, 3, "Help", "Open the tutorial", "F1", Route::Direct,
     KeyGate::Help, InMenu(Menu::About, 0, "Help(&H)")},
    {CommandId::Options, "menuOption", Route::Toolbar, 2, "Options", "Finish sound and Music Cutter", nullptr,
     Route::Direct, KeyGate::None, InMenu(Menu::Options, 0, "Options(&O)")},
    {CommandId::Remove, nullptr, Route::Direct, 1, "Remove", "Remove the selected file or all files", nullptr,
     Route::Direct, KeyGate::None, kNoMenuItem},
    {CommandId::Convert, nullptr, Route::Direct, kNoToolbarButton, "Convert",
     "Convert every file in the queue", "Ctrl+Return", Route::Direct, KeyGate::Convert, kNoMenuItem},
    // The keypad's Enter converts too.
    {CommandId::Convert, nullptr, Route::Direct, kNoToolbarButton, "Convert",
     "Convert every file in the queue", "Ctrl+Enter", Route::Direct, KeyGate::Convert, kNoMenuItem},
    {CommandId::Stop, nullptr, Route::Direct, kNoToolbarButton, "Stop",
     "Stop converting; the files not done stay queued", "Esc", Route::Direct, KeyGate::Stop, kNoMenuItem},
    // The one menu item that acts itself, without a word in the mailbox.
    {CommandId::RemoveAll, nullptr, Route::Direct, kNoToolbarButton, "Remove All", "Remove every file",
     nullptr, Route::Direct, KeyGate::None, InMenu(Menu::Remove, 1, "Remove All")},
};

// No two items share a place in a menu.
constexpr bool MenuPlacesAreUnique()
{
    for (const Command &a : kCommands) {
        for (const Command &b : kCommands) {
            if (&a != &b && a.menuItem.menu != Menu::None && a.menuItem.menu == b.menuItem.menu &&
                a.menuItem.order == b.menuItem.order)
                return false;
        }
    }
    return true;
}
static_assert(MenuPlacesAreUnique(), "two menu items share a place");

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
