// A settings file in a TempFolder of its own for one test, read back both
// through Profile and as the raw text a user would see.
#ifndef PARCHLY_TESTS_SUPPORT_INI_FILE_H
#define PARCHLY_TESTS_SUPPORT_INI_FILE_H

#include "settings/profile.h"
#include "support/temp_folder.h"

#include <QByteArray>
#include <QString>
#include <string>

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

private:
    TempFolder m_folder;

public:
    Profile profile;
};

} // namespace parchly::test

#endif
