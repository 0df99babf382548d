#include "view/parchly_doc.h"

namespace parchly {

CParchlyDoc::CParchlyDoc(const QString& path) : m_path(path), m_limits{73, 56, 100} {}

} // namespace parchly
