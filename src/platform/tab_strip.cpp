#include "platform/tab_strip.h"

namespace parchly {

namespace {

class ProgramChange {
public:
    explicit ProgramChange(bool& flag)
        : m_flag(flag)
        , m_previous(flag)
    {
        m_flag = true;
    }
    ~ProgramChange() { m_flag = m_previous; }

private:
    bool& m_flag;
    bool m_previous;
};

} // namespace

TabStrip::TabStrip(QWidget* parent)
    : QTabBar(parent)
{
    connect(this, &QTabBar::currentChanged, this, [this](int index) {
        if (!m_programChange)
            emit tabChangedByUser(index);
    });
}

int TabStrip::insertDataTab(int position, const QString& text, const QVariant& data)
{
    ProgramChange change(m_programChange);
    const int index = insertTab(position, text);
    setTabData(index, data);
    return index;
}

void TabStrip::selectTab(int index)
{
    ProgramChange change(m_programChange);
    setCurrentIndex(index);
}

void TabStrip::deleteTab(int index)
{
    ProgramChange change(m_programChange);
    removeTab(index);
}

} // namespace parchly
