#include "view/rfc_document.h"

namespace parchly {

RfcDocument::RfcDocument(const QString& path) : m_path(path), m_limits{73, 56, 100} {}

} // namespace parchly
