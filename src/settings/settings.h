// The application's one record of user options and its persistence in the
// "settings" section and the five format sections of the settings file.
#ifndef PARCHLY_SETTINGS_SETTINGS_H
#define PARCHLY_SETTINGS_SETTINGS_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/analysis_options.h"
#include "settings/formats.h"
#include "settings/profile.h"

namespace parchly {

// The zoom steps a reading view allows, out and in.
constexpr int32_t kZoomOutLimit = -8;
constexpr int32_t kZoomInLimit = 16;

enum class NewRfcCheck { Never = 0, Daily = 1, Weekly = 2 };

struct RfcSettings {
    // Built-in defaults; the default RfcRootPath is `appDirectory` + "RFCPath"
    // (normalised).
    explicit RfcSettings(const std::string& appDirectory = "./");

    int32_t LineWidth = 73;
    int32_t PageHeight = 56;
    bool BuildStructureFromText = true;
    bool BuildStructureFromTextOnlyIfEmpty = false;
    bool DisableHeaderAndFooterInAllFiles = false;
    bool DisableSpacesNearHeaderAndFooter = true;
    bool ShowPageSeparator = false;
    int32_t BlankLineBeforeFooter = -1;
    bool HideInvalidContentEntryInTreeView = true;
    bool DisableContentEntryLink = false;
    bool DisableInvalidContentEntryLink = true;
    bool DisableReferenceAnalysis = false;
    bool DisableReferenceLink = false;
    bool LargeToolBarButtonWithText = false;
    bool OpenRfcIndexWhenStarted = false;
    bool JumpToRfcIndexInsteadOfFile = false;
    bool SaveTreeView = true;
    bool UseOnlyDefaultText = false;
    TextFormat Formats[kFormatCategoryCount];
    // The collection: an rsync module, or a .zip or .tar.gz archive.
    std::string RfcDownloadUrl;
    std::string RfcIndexDownloadUrl;
    // The folder single RFCs are fetched from ("rfcNNNN.txt" in it).
    std::string RfcFileDownloadUrl;
    // The feed of new RFCs read by the check for new RFCs.
    std::string NewRfcFeedUrl;
    std::string RfcRootPath;
    std::vector<int32_t> IndexLevelCounts;
    std::string HomepageUrl;
    // Zoom steps of the reading views' text, kept for the program ("View",
    // "TextZoom"); 0 shows the formats' own sizes.
    int32_t TextZoom = 0;
    // The bar above each RFC with what the RFC index says of it ("View",
    // "IndexBar").
    bool ShowIndexBar = true;
    // Where Tools, Update Errata downloads the RFC Editor's errata database
    // (errata.json) from.
    std::string ErrataDownloadUrl;
    // The statuses of the errata shown in the text and the Navigator's
    // "Errata" tab ("Errata", "ShowVerified" ...): Verified and Held for
    // Document Update by default, Reported when asked for, Rejected never
    // unless asked for.
    bool ErrataShowVerified = true;
    bool ErrataShowHeld = true;
    bool ErrataShowReported = false;
    bool ErrataShowRejected = false;
    // "Keep the downloaded collection archive after unpacking it": off, the
    // archive goes once its RFC files are unpacked.
    bool KeepCollectionArchive = false;
    // Print in the view's colours instead of black on white ("Print",
    // "ScreenColours"), chosen in Print Setup.
    bool PrintScreenColours = false;
    // "Check for new RFCs": never (the default: no network access unless
    // asked), at start-up once a day, or once a week.
    NewRfcCheck CheckForNewRfcs = NewRfcCheck::Never;
    // "Fetch a missing RFC when a link needs it" without asking first.
    bool FetchMissingRfcOnLink = false;

    // Reads every stored option over the record; a missing or unusable value
    // keeps its default. Leaves the invariants in force: the two link
    // implications, a non-empty list of positive level counts, a normalised
    // root path.
    void loadSettings(const Profile& profile);

    // Writes the options the user can change; write errors go unreported.
    void saveSettings(Profile& profile) const;

    // Writes TextZoom alone, at once: zooming is no Options change.
    void saveTextZoom(Profile& profile) const;
    // Writes ShowIndexBar alone, at once, as the View menu toggles it.
    void saveIndexBar(Profile& profile) const;
    // Writes the errata status filter alone, at once, as the Errata tab
    // changes it.
    void saveErrataFilter(Profile& profile) const;

    // The time of the last check for new RFCs (seconds since 1970; 0:
    // never), kept apart from the options and written at once.
    static int64_t lastNewRfcCheck(const Profile& profile);
    static void saveLastNewRfcCheck(Profile& profile, int64_t secondsSince1970);

    // Writes the printing options alone, at once: Print Setup is no Options change.
    void savePrintOptions(Profile& profile) const;

    // Copies out the format of `category`; false (nothing copied) outside the categories.
    std::optional<TextFormat> categoryFormat(int category) const;

    // Stores `format` for `category`; false (nothing stored) outside the categories.
    bool setCategoryFormat(int category, const TextFormat& format);

    // The three options the analysis of an RFC consults.
    AnalysisOptions analysisOptions() const;
};

// `path` with every "\" turned into "/" and no trailing "/".
std::string normaliseRootPath(std::string path);

} // namespace parchly

#endif
