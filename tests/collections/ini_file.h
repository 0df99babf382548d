// A settings file in a TempFolder of its own for one test, read back both
// through Profile and as the raw text a user would see.
#ifndef PARCHLY_TESTS_COLLECTIONS_INI_FILE_H
#define PARCHLY_TESTS_COLLECTIONS_INI_FILE_H

#include "settings/profile.h"
#include "support/temp_folder.h"

#include <QByteArray>
#include <QString>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace parchly::test {

class IniFile {
public:
    IniFile()
        : profile(m_folder.file("Parchly.ini"))
    {
    }

    std::string directory() const { return m_folder.file(""); }

    void write(const QByteArray& text) const { test::writeFile(profile.path(), text.toStdString()); }
    QString text() const { return QString::fromStdString(test::readFile(profile.path())); }

    std::string value(const char* section, const std::string& key) const
    {
        return profile.readString(section, key, "<missing>");
    }

    // A numbered list ("BM0", "BM1", ...) up to its first empty value.
    std::vector<std::string> list(const char* section, const std::string& keyPrefix) const
    {
        std::vector<std::string> values;
        for (int i = 0;; ++i) {
            const std::string value = profile.readString(section, keyPrefix + std::to_string(i), "");
            if (value.empty())
                return values;
            values.push_back(value);
        }
    }

    void writeList(const char* section, const std::string& keyPrefix, const std::vector<std::string>& values)
    {
        for (std::size_t i = 0; i < values.size(); ++i)
            profile.writeString(section, keyPrefix + std::to_string(i), values[i]);
    }

private:
    TempFolder m_folder;

public:
    Profile profile;
};

} // namespace parchly::test

#endif
