#pragma once

#include <QString>

namespace quorvia {

// A field of a CSV line (RFC 4180): as it is, or in double quotes, each quote doubled, when it
// holds a comma, a quote or a line break.
QString csvField(const QString& text);

} // namespace quorvia
