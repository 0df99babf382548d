// The numeric command ids of menus, toolbars, accelerators and the view's
// context menu. The framework-style ids (57600 and up, 59392 and up) keep
// the values the menus and the stored layout were built around.
#ifndef PARCHLY_VIEW_COMMAND_IDS_H
#define PARCHLY_VIEW_COMMAND_IDS_H

namespace parchly {

enum CommandId : int {
    // Application.
    kCmdTipOfTheDayApp = 105,
    kCmdOptions = 32771,
    kCmdAbout = 57664,
    kCmdFileNew = 57600,
    kCmdFileOpen = 57601,
    kCmdPrintSetup = 57606,

    // Main frame.
    kCmdEscape = 32768,
    kCmdViewIndex = 32772,
    kCmdUpdateRfcIndex = 32775,
    kCmdDownloadRfc = 32776,
    kCmdOpenRfcIndex = 32783,
    kCmdTipOfTheDay = 32786,
    kCmdEditToolbar = 32817,
    kCmdViewToolbar = 32819,
    kCmdDownloadCollection = 32838,
    kCmdHomepage = 32841,
    kCmdFavoriteRfcs = 32851,
    kCmdBookmarks = 32856,
    kCmdRecentFile1 = 57616, // and the three that follow
    kCmdExit = 57665,
    kCmdHelpIndex = 57666,
    kCmdHelpContents = 57670,
    kCmdArrangeIcons = 57649,
    kCmdCascade = 57650,
    kCmdTile = 57651,
    kCmdNextPane = 57680,
    kCmdPreviousPane = 57681,
    kCmdStandardToolbar = 59392,
    kCmdStatusBar = 59393,
    kCmdAltEnter = 57860,

    // Child frame.
    kCmdPage = 32774,
    kCmdStructure = 32788,
    kCmdHeaders = 32813,
    kCmdFooters = 32814,
    kCmdPageSeparators = 32815,
    kCmdNavigator = 32844,

    // Document and view.
    kCmdGoBack = 32781,
    kCmdGoForward = 32782,
    kCmdGoTo = 32787,
    kCmdFileClose = 57602,
    kCmdPrint = 57607,
    kCmdPrintPreview = 57609,
    kCmdCopy = 57634,
    kCmdCut = 57635,
    kCmdFind = 57636,
    kCmdPaste = 57637,
    kCmdFindNext = 57640,
    kCmdReplace = 57641,
    kCmdSelectAll = 57642,
    kCmdUndo = 57643,

    // Reading habits: find bar, zoom.
    kCmdFindPrevious = 33101,
    kCmdZoomIn = 33102,
    kCmdZoomOut = 33103,
    kCmdZoomReset = 33104,
    // Document tabs.
    kCmdNextTab = 33111,
    kCmdPreviousTab = 33112,
    // Links across RFCs: the index bar, the requirements' CSV.
    kCmdIndexBar = 33141,
    kCmdExportRequirements = 33142,
    // The whole local collection.
    kCmdFindInRfcs = 33171,
    // Keeping the collection current.
    kCmdCheckNewRfcs = 33201,
    // Keys readers of other viewers reach for.
    kCmdAddBookmark = 33181,
    kCmdOpenRfcNumber = 33182,
    // The RFC Editor's errata.
    kCmdUpdateErrata = 33221,
};

constexpr int kRecentFileCount = 4;

} // namespace parchly

#endif
