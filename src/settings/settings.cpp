#include "settings/settings.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <utility>

#include "settings/download_addresses.h"
#include "settings/leading_integer.h"

namespace parchly {

namespace {

const char* const kSection = "settings";
const int32_t kDefaultLevelCounts[] = {500, 50};

// A boolean option with its key: read and (when `saved`) written back.
struct FlagOption {
    const char* key;
    bool RfcSettings::*field;
    bool saved;
};

// Table order, which is also the order in which the saved ones are written.
const FlagOption kFlagOptions[] = {
    {"BuildStructureFromText", &RfcSettings::BuildStructureFromText, true},
    {"BuildStructureFromTextOnlyIfEmpty", &RfcSettings::BuildStructureFromTextOnlyIfEmpty, false},
    {"DisableHeaderAndFooterInAllFiles", &RfcSettings::DisableHeaderAndFooterInAllFiles, true},
    {"DisableSpacesNearHeaderAndFooter", &RfcSettings::DisableSpacesNearHeaderAndFooter, true},
    {"ShowPageSeparator", &RfcSettings::ShowPageSeparator, true},
    {"HideInvalidContentEntryInTreeView", &RfcSettings::HideInvalidContentEntryInTreeView, true},
    {"DisableContentEntryLink", &RfcSettings::DisableContentEntryLink, true},
    {"DisableInvalidContentEntryLink", &RfcSettings::DisableInvalidContentEntryLink, true},
    {"DisableReferenceAnalysis", &RfcSettings::DisableReferenceAnalysis, true},
    {"DisableReferenceLink", &RfcSettings::DisableReferenceLink, true},
    {"LargeToolBarButtonWithText", &RfcSettings::LargeToolBarButtonWithText, true},
    {"OpenRfcIndexWhenStarted", &RfcSettings::OpenRfcIndexWhenStarted, true},
    {"JumpToRfcIndexInsteadOfFile", &RfcSettings::JumpToRfcIndexInsteadOfFile, true},
    {"SaveTreeView", &RfcSettings::SaveTreeView, false},
    {"KeepCollectionArchive", &RfcSettings::KeepCollectionArchive, true},
    {"FetchMissingRfcOnLink", &RfcSettings::FetchMissingRfcOnLink, true},
};

// The integer options, none of which is written back.
const std::pair<const char*, int32_t RfcSettings::*> kNumberOptions[] = {
    {"LineWidth", &RfcSettings::LineWidth},
    {"PageHeight", &RfcSettings::PageHeight},
    {"BlankLineBeforeFooter", &RfcSettings::BlankLineBeforeFooter},
};

const std::pair<const char*, std::string RfcSettings::*> kUrlOptions[] = {
    {"RfcDownloadUrl", &RfcSettings::RfcDownloadUrl},
    {"RfcIndexDownloadUrl", &RfcSettings::RfcIndexDownloadUrl},
    {"RfcFileDownloadUrl", &RfcSettings::RfcFileDownloadUrl},
    {"NewRfcFeedUrl", &RfcSettings::NewRfcFeedUrl},
    {"ErrataDownloadUrl", &RfcSettings::ErrataDownloadUrl},
};

// The errata status filter, in a section of its own ("Errata" holds the
// display format).
const char* const kErrataSection = "ErrataFilter";
const std::pair<const char*, bool RfcSettings::*> kErrataFilter[] = {
    {"ShowVerified", &RfcSettings::ErrataShowVerified},
    {"ShowHeld", &RfcSettings::ErrataShowHeld},
    {"ShowReported", &RfcSettings::ErrataShowReported},
    {"ShowRejected", &RfcSettings::ErrataShowRejected},
};

const char* const kUseOnlyDefaultText = "UseOnlyDefaultText";
const char* const kViewSection = "View";
const char* const kTextZoom = "TextZoom";
const char* const kIndexBar = "IndexBar";
const char* const kPrintSection = "Print";
const char* const kScreenColours = "ScreenColours";

const char* const kRootPath = "RfcRootPath";
const char* const kCheckForNewRfcs = "CheckForNewRfcs";
const char* const kUpdateSection = "Update";
const char* const kLastCheck = "LastNewRfcCheck";

std::string levelKey(const char* prefix, std::size_t index)
{
    return prefix + std::to_string(index);
}

std::vector<int32_t> readLevelCounts(const Profile& profile)
{
    std::vector<int32_t> counts;
    for (std::size_t i = 0;; ++i) {
        const std::string value = profile.readString(kSection, levelKey("Level", i), "");
        if (value.empty())
            break;
        const int count = leadingInteger(value);
        if (count < 1)
            break;
        counts.push_back(count);
    }
    if (counts.empty())
        counts.assign(std::begin(kDefaultLevelCounts), std::end(kDefaultLevelCounts));
    return counts;
}

// Reads the stored text forms of a category over those of `current`.
TextFormat readFormat(const Profile& profile, int category, const TextFormat& current)
{
    FormatTexts texts = formatToText(current);
    const char* section = categoryName(category);
    const auto replaceIfSet = [&](const char* key, std::string& text) {
        std::string value = profile.readString(section, key, "");
        if (!value.empty())
            text = std::move(value);
    };
    replaceIfSet("font", texts.font);
    replaceIfSet("color", texts.color);
    replaceIfSet("style", texts.style);
    const std::string size = profile.readString(section, "size", "");
    if (leadingInteger(size) > 0)
        texts.size = size;
    return textToFormat(texts.font, texts.style, texts.color, texts.size);
}

} // namespace

RfcSettings::RfcSettings(const std::string& appDirectory)
    : RfcDownloadUrl(kDefaultCollectionUrl)
    , RfcIndexDownloadUrl(kDefaultIndexUrl)
    , RfcFileDownloadUrl(kDefaultRfcFolderUrl)
    , NewRfcFeedUrl(kDefaultNewRfcFeedUrl)
    , RfcRootPath(normaliseRootPath(appDirectory + "RFCPath"))
    , IndexLevelCounts(std::begin(kDefaultLevelCounts), std::end(kDefaultLevelCounts))
    , HomepageUrl("https://github.com/parchly/parchly")
    , ErrataDownloadUrl(kDefaultErrataUrl)
{
    for (int category = 0; category < kFormatCategoryCount; ++category)
        Formats[category] = defaultFormat(category);
}

void RfcSettings::loadSettings(const Profile& profile)
{
    for (const auto& [key, field] : kNumberOptions)
        this->*field = profile.readInt(kSection, key, this->*field);
    for (const FlagOption& option : kFlagOptions)
        this->*option.field = profile.readInt(kSection, option.key, this->*option.field) != 0;
    for (const auto& [key, field] : kUrlOptions)
        this->*field = profile.readString(kSection, key, this->*field);
    RfcRootPath = normaliseRootPath(profile.readString(kSection, kRootPath, RfcRootPath));
    UseOnlyDefaultText = profile.readInt(kSection, kUseOnlyDefaultText, UseOnlyDefaultText) != 0;
    IndexLevelCounts = readLevelCounts(profile);
    for (int category = 0; category < kFormatCategoryCount; ++category)
        Formats[category] = readFormat(profile, category, Formats[category]);
    TextZoom = std::clamp(profile.readInt(kViewSection, kTextZoom, 0), kZoomOutLimit, kZoomInLimit);
    ShowIndexBar = profile.readInt(kViewSection, kIndexBar, ShowIndexBar) != 0;
    for (const auto& [key, field] : kErrataFilter)
        this->*field = profile.readInt(kErrataSection, key, this->*field) != 0;
    PrintScreenColours = profile.readInt(kPrintSection, kScreenColours, 0) != 0;
    const int check = profile.readInt(kSection, kCheckForNewRfcs, 0);
    CheckForNewRfcs = check == 1 ? NewRfcCheck::Daily : check == 2 ? NewRfcCheck::Weekly : NewRfcCheck::Never;

    if (DisableReferenceAnalysis)
        DisableReferenceLink = true;
    if (DisableContentEntryLink) {
        HideInvalidContentEntryInTreeView = true;
        DisableInvalidContentEntryLink = true;
    }
}

void RfcSettings::saveSettings(Profile& profile) const
{
    // Some forty values: one rewrite of the file instead of one each.
    ProfileBatch batch(profile);
    for (const FlagOption& option : kFlagOptions) {
        if (option.saved)
            profile.writeInt(kSection, option.key, this->*option.field ? 1 : 0);
    }
    for (const auto& [key, field] : kUrlOptions)
        profile.writeString(kSection, key, this->*field);
    profile.writeString(kSection, kRootPath, RfcRootPath);
    profile.writeInt(kSection, kUseOnlyDefaultText, UseOnlyDefaultText ? 1 : 0);
    profile.writeInt(kSection, kCheckForNewRfcs, static_cast<int>(CheckForNewRfcs));

    for (std::size_t i = 0; i < IndexLevelCounts.size(); ++i)
        profile.writeInt(kSection, levelKey("Level", i), IndexLevelCounts[i]);
    // An empty entry after the last one ends a longer list stored earlier
    // (a list that was no longer needs none).
    const std::string after = levelKey("Level", IndexLevelCounts.size());
    if (!profile.readString(kSection, after, "").empty())
        profile.writeString(kSection, after, "");

    for (int category = 0; category < kFormatCategoryCount; ++category) {
        const FormatTexts texts = formatToText(Formats[category]);
        const char* section = categoryName(category);
        profile.writeString(section, "font", texts.font);
        profile.writeString(section, "color", texts.color);
        profile.writeString(section, "style", texts.style);
        profile.writeString(section, "size", texts.size);
    }
    saveTextZoom(profile);
    saveIndexBar(profile);
    saveErrataFilter(profile);
}

void RfcSettings::saveIndexBar(Profile& profile) const
{
    profile.writeInt(kViewSection, kIndexBar, ShowIndexBar ? 1 : 0);
}

void RfcSettings::saveErrataFilter(Profile& profile) const
{
    for (const auto& [key, field] : kErrataFilter)
        profile.writeInt(kErrataSection, key, this->*field ? 1 : 0);
}

void RfcSettings::saveTextZoom(Profile& profile) const
{
    profile.writeInt(kViewSection, kTextZoom, TextZoom);
}

int64_t RfcSettings::lastNewRfcCheck(const Profile& profile)
{
    const std::string value = profile.readString(kUpdateSection, kLastCheck, "");
    try {
        return value.empty() ? 0 : std::max<int64_t>(0, std::stoll(value));
    } catch (const std::exception&) {
        return 0;
    }
}

void RfcSettings::saveLastNewRfcCheck(Profile& profile, int64_t secondsSince1970)
{
    profile.writeString(kUpdateSection, kLastCheck, std::to_string(secondsSince1970));
}

void RfcSettings::savePrintOptions(Profile& profile) const
{
    profile.writeInt(kPrintSection, kScreenColours, PrintScreenColours ? 1 : 0);
}

std::optional<TextFormat> RfcSettings::categoryFormat(int category) const
{
    if (category < 0 || category >= kFormatCategoryCount)
        return std::nullopt;
    return Formats[category];
}

bool RfcSettings::setCategoryFormat(int category, const TextFormat& format)
{
    if (category < 0 || category >= kFormatCategoryCount)
        return false;
    Formats[category] = format;
    return true;
}

AnalysisOptions RfcSettings::analysisOptions() const
{
    AnalysisOptions options;
    options.buildStructureFromText = BuildStructureFromText;
    options.disableSpacesNearHeaderAndFooter = DisableSpacesNearHeaderAndFooter;
    options.disableReferenceAnalysis = DisableReferenceAnalysis;
    return options;
}

std::string normaliseRootPath(std::string path)
{
    for (char& c : path) {
        if (c == '\\')
            c = '/';
    }
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    return path;
}

} // namespace parchly
