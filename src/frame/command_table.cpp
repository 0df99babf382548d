#include "frame/command_table.h"

#include "view/command_ids.h"

#include <algorithm>

namespace parchly {

const std::vector<CommandInfo>& commandTable()
{
    static const std::vector<CommandInfo> table = {
        // File
        {kCmdOpenRfcIndex, "Open RFC &Index\tCtrl+I", "Open the RFC Index Document\nOpen Index", "Index",
         "x-office-address-book", "Ctrl+I"},
        {kCmdFileOpen, "&Open...\tCtrl+O", "Open an existing document\nOpen", "Open", "document-open",
         "Ctrl+O"},
        {kCmdFileClose, "&Close\tCtrl+W", "Close the active document\nClose", nullptr, nullptr,
         "Ctrl+W;Ctrl+F4"},
        {kCmdPrint, "&Print...\tCtrl+P", "Print the active document\nPrint", "Print", "document-print",
         "Ctrl+P"},
        {kCmdPrintPreview, "Print Pre&view", "Display full pages\nPrint Preview", "Preview",
         "document-print-preview", nullptr},
        {kCmdPrintSetup, "P&rint Setup...", "Change the printer and printing options\nPrint Setup", nullptr,
         nullptr, nullptr},
        {kCmdFavoriteRfcs, "&Favorite RFCs...", "Open or Manage Favorite RFCs\nFavorite RFCs", nullptr,
         nullptr, nullptr},
        {kCmdExit, "E&xit\tCtrl+Q", "Quit the application; prompts to save documents\nExit", nullptr, nullptr,
         "Ctrl+Q"},
        // Edit
        {kCmdCopy, "&Copy\tCtrl+C", "Copy the selection and put it on the Clipboard\nCopy", "Copy",
         "edit-copy", "Ctrl+C;Ctrl+Ins"},
        {kCmdSelectAll, "Select A&ll\tCtrl+A", "Select the entire document\nSelect All", nullptr, nullptr,
         "Ctrl+A"},
        {kCmdFind, "&Find...\tCtrl+F", "Find the specified text\nFind", "Find", "edit-find", "Ctrl+F"},
        {kCmdFindNext, "F&ind Next\tF3", "Repeat the last action\nFind Next", "Next", "go-down", "F3"},
        {kCmdGoTo, "&Go To...\tCtrl+G", "Go to a line or a page\nGo To", "Go To", "go-jump", "Ctrl+G"},
        {kCmdGoForward, "Go For&ward\tAlt+Right", "Go forward to the next position\nForward", "Forward",
         "go-next", "Alt+Right;Forward"},
        {kCmdGoBack, "Go &Back\tAlt+Left", "Go back to the previous position\nBack", "Back", "go-previous",
         "Alt+Left;Back"},
        // View
        {kCmdViewIndex, "&Index\tCtrl+I", "RFC Index View\nIndex View", nullptr, nullptr, nullptr},
        {kCmdStructure, "&Structure\tCtrl+S", "RFC Structure View\nStructure View", "Struct",
         "view-list-tree", "Ctrl+S"},
        {kCmdPage, "&Page", "RFC Page View\nPage View", "Page", "x-office-document", nullptr},
        {kCmdHeaders, "RFC &Headers", "Show or hide the RFC headers\nToggle Headers", "Header", "go-top",
         nullptr},
        {kCmdFooters, "RFC &Footers", "Show or hide the RFC footers\nToggle Footers", "Footer", "go-bottom",
         nullptr},
        {kCmdPageSeparators, "Page &Separators", "Show or hide the page separators\nToggle Page Separators",
         "P Separ", "insert-horizontal-rule", nullptr},
        {kCmdStandardToolbar, "Standard", "Show or hide the Standard Toolbar\nToggle Standard ToolBar",
         nullptr, nullptr, nullptr},
        {kCmdEditToolbar, "Edit", "Show or hide the Edit Toolbar\nToggle Edit ToolBar", nullptr, nullptr,
         nullptr},
        {kCmdViewToolbar, "View", "Show or hide the View Toolbar\nToggle View ToolBar", nullptr, nullptr,
         nullptr},
        {kCmdNavigator, "&Navigator", "Show or hide the Navigator\nToggle Navigator", "NaviBar",
         "view-sidebar", nullptr},
        {kCmdStatusBar, "Status &Bar", "Show or hide the status bar\nToggle StatusBar", nullptr, nullptr,
         nullptr},
        {kCmdBookmarks, "&Bookmarks...", nullptr, nullptr, nullptr, nullptr},
        // Tools
        {kCmdUpdateRfcIndex, "&Update RFC Index...", "Update RFC Index from specified site\nUpdate Index",
         nullptr, nullptr, nullptr},
        {kCmdDownloadRfc, "&Download RFC...", "Download one RFC by its number\nDownload RFC", nullptr,
         nullptr, nullptr},
        {kCmdDownloadCollection, "Update RFC &Collection...",
         "Bring the local RFC folder level with the RFC Editor\nUpdate RFC Collection", nullptr, nullptr,
         nullptr},
        {kCmdCheckNewRfcs, "Check for &New RFCs",
         "Look for RFCs published since the folder was updated\nCheck "
         "for New RFCs",
         nullptr, nullptr, nullptr},
        {kCmdUpdateErrata, "Update &Errata...",
         "Update the RFC Editor's errata from specified site\nUpdate Errata", nullptr, nullptr, nullptr},
        {kCmdOptions, "&Options...", "Change the options of Parchly\nOptions", "Options",
         "preferences-system", nullptr},
        // Window
        {kCmdCascade, "&Cascade", "Arrange windows so they overlap\nCascade Windows", nullptr, nullptr,
         nullptr},
        {kCmdTile, "&Tile", "Arrange windows as non-overlapping tiles\nTile Windows", nullptr, nullptr,
         nullptr},
        {kCmdArrangeIcons, "&Arrange Icons", "Arrange icons at the bottom of the window\nArrange Icons",
         nullptr, nullptr, nullptr},
        // Help
        {kCmdHelpContents, "&Contents", "Displays the table of contents for the online documentation",
         nullptr, nullptr, nullptr},
        {kCmdHelpIndex, "&Index...", "Displays the Index to the online documentation", nullptr, nullptr,
         nullptr},
        {kCmdTipOfTheDay, "&Tip of the Day", "Displays Tip of the Day\nTip", nullptr, nullptr, nullptr},
        {kCmdHomepage, "Parchly &Homepage", "Visit Homepage of Parchly\nHomepage", nullptr, nullptr, nullptr},
        {kCmdAbout, "&About Parchly...", "Display program information, version number and copyright\nAbout",
         "About", "help-about", nullptr},
        // Accelerators without a menu item.
        {kCmdReplace, "Replace", nullptr, nullptr, nullptr, "Ctrl+H"},
        {kCmdPaste, "Paste", nullptr, nullptr, nullptr, "Ctrl+V;Shift+Ins"},
        {kCmdCut, "Cut", nullptr, nullptr, nullptr, "Ctrl+X;Shift+Del"},
        {kCmdUndo, "Undo", nullptr, nullptr, nullptr, "Ctrl+Z;Alt+Backspace"},
        {kCmdEscape, "Escape", nullptr, nullptr, nullptr, "Esc"},
        {kCmdNextPane, "Next Pane", nullptr, nullptr, nullptr, "F6"},
        {kCmdPreviousPane, "Previous Pane", nullptr, nullptr, nullptr, "Shift+F6"},
        {kCmdAltEnter, "Properties", nullptr, nullptr, nullptr, "Alt+Return"},
        // Reading habits: find bar, zoom.
        {kCmdFindPrevious, "Find Pre&vious\tShift+F3", "Find the previous match\nFind Previous", nullptr,
         nullptr, "Shift+F3"},
        {kCmdZoomIn, "Zoom &In\tCtrl++", "Enlarge the text\nZoom In", nullptr, nullptr, "Ctrl++;Ctrl+="},
        {kCmdZoomOut, "Zoom &Out\tCtrl+-", "Shrink the text\nZoom Out", nullptr, nullptr, "Ctrl+-"},
        {kCmdZoomReset, "&Normal Size\tCtrl+0", "Show the text at its normal size\nNormal Size", nullptr,
         nullptr, "Ctrl+0"},
        // Document tabs, in the order of the tab bar.
        {kCmdNextTab, "Ne&xt Tab\tCtrl+PgDown", "Activate the document of the next tab\nNext Tab", nullptr,
         nullptr, "Ctrl+PgDown"},
        {kCmdPreviousTab, "Pre&vious Tab\tCtrl+PgUp",
         "Activate the document of the previous tab\nPrevious Tab", nullptr, nullptr, "Ctrl+PgUp"},
        // Links across RFCs.
        {kCmdIndexBar, "Index &Bar", "Show or hide what the RFC index says above each RFC\nToggle Index Bar",
         nullptr, nullptr, nullptr},
        {kCmdExportRequirements, "Export &Requirements...",
         "Save the requirement sentences of the RFC as CSV\nExport Requirements", nullptr, nullptr, nullptr},
        // The whole local collection.
        {kCmdFindInRfcs, "Find in &RFCs...\tCtrl+Shift+F",
         "Search the text of every RFC in the local folder\nFind in RFCs", nullptr, nullptr, "Ctrl+Shift+F"},
        {kCmdAddBookmark, "&Add Bookmark\tCtrl+D", "Keep the caret's place as a bookmark\nAdd Bookmark",
         nullptr, nullptr, "Ctrl+D"},
        {kCmdOpenRfcNumber, "Open RFC by &Number...\tCtrl+Shift+O",
         "Open an RFC by its number or its title in the RFC index\nOpen RFC by Number", nullptr, nullptr,
         "Ctrl+Shift+O"},
    };
    return table;
}

const CommandInfo* findCommand(int id)
{
    const std::vector<CommandInfo>& table = commandTable();
    auto found =
        std::find_if(table.begin(), table.end(), [id](const CommandInfo& info) { return info.id == id; });
    return found == table.end() ? nullptr : &*found;
}

const std::vector<MenuLayout>& menuLayout(MenuSet set)
{
    static const std::vector<int> tools = {
        kCmdUpdateRfcIndex, kCmdUpdateErrata, kCmdDownloadRfc, kCmdDownloadCollection,
        kCmdCheckNewRfcs,   kSeparator,       kCmdOptions};
    static const std::vector<int> help = {kCmdHelpContents, kCmdHelpIndex, kSeparator, kCmdTipOfTheDay,
                                          kCmdHomepage,     kSeparator,    kCmdAbout};
    // Find in RFCs needs no open document: the Edit menu is there without one.
    static const std::vector<int> edit = {kCmdCopy,     kCmdSelectAll, kSeparator,       kCmdFind,
                                          kCmdFindNext, kSeparator,    kCmdGoTo,         kCmdGoForward,
                                          kCmdGoBack,   kSeparator,    kCmdFindPrevious, kCmdFindInRfcs};
    static const std::vector<MenuLayout> noDocument = {
        {"&File",
         {kCmdOpenRfcIndex, kCmdFileOpen, kCmdOpenRfcNumber, kSeparator, kCmdPrintSetup, kSeparator,
          kFavoritesSubmenuSlot, kSeparator, kRecentFilesSlot, kSeparator, kCmdExit}},
        {"&Edit", edit},
        {"&View",
         {kCmdViewIndex, kCmdStructure, kCmdPage, kSeparator, kToolbarsSubmenuSlot, kCmdNavigator,
          kCmdStatusBar, kSeparator, kCmdBookmarks}},
        {"&Tools", tools},
        {"&Help", help},
    };
    static const std::vector<MenuLayout> document = {
        {"&File",
         {kCmdOpenRfcIndex, kCmdFileOpen, kCmdOpenRfcNumber, kCmdFileClose, kSeparator, kCmdPrint,
          kCmdPrintPreview, kCmdPrintSetup, kCmdExportRequirements, kSeparator, kFavoritesSubmenuSlot,
          kSeparator, kRecentFilesSlot, kSeparator, kCmdExit}},
        {"&Edit", edit},
        {"&View", {kCmdViewIndex, kCmdStructure,      kCmdPage,      kSeparator,           kCmdHeaders,
                   kCmdFooters,   kCmdPageSeparators, kSeparator,    kToolbarsSubmenuSlot, kCmdNavigator,
                   kCmdStatusBar, kSeparator,         kCmdBookmarks, kCmdAddBookmark,      kSeparator,
                   kCmdZoomIn,    kCmdZoomOut,        kCmdZoomReset, kSeparator,           kCmdIndexBar}},
        {"&Tools", tools},
        {"&Window",
         {kCmdCascade, kCmdTile, kCmdArrangeIcons, kSeparator, kCmdNextTab, kCmdPreviousTab,
          kWindowListSlot}},
        {"&Help", help},
    };
    return set == MenuSet::Document ? document : noDocument;
}

const std::vector<ToolbarLayout>& toolbarLayouts()
{
    static const std::vector<ToolbarLayout> layouts = {
        {"StandardToolbar",
         "Standard",
         {kCmdOpenRfcIndex, kCmdFileOpen, kSeparator, kCmdCopy, kSeparator, kCmdPrint, kCmdPrintPreview,
          kSeparator, kCmdOptions, kSeparator, kCmdAbout}},
        {"EditToolbar",
         "Edit",
         {kCmdCopy, kSeparator, kCmdFind, kCmdFindNext, kSeparator, kCmdGoTo, kSeparator, kCmdGoBack,
          kCmdGoForward}},
        {"ViewToolbar",
         "View",
         {kCmdStructure, kCmdPage, kSeparator, kCmdHeaders, kCmdFooters, kCmdPageSeparators, kSeparator,
          kCmdNavigator}},
    };
    return layouts;
}

const std::vector<int>& toolbarsSubmenu()
{
    static const std::vector<int> items = {kCmdStandardToolbar, kCmdEditToolbar, kCmdViewToolbar};
    return items;
}

} // namespace parchly
