// A PDF made page by page and written as a user's output: in memory first,
// then through the guarded output file, so a failure leaves no half-written
// PDF and nothing but a regular file is ever replaced.
#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QString>

#include <functional>
#include <string>

class QPainter;

namespace orrimar::print {

// Pages of `size` in `orientation` with no margins (the painter's device
// is the whole sheet of paper). paint() draws the first page and calls
// newPage() before each further one; the document is then written to
// `path`.
using NewPage = std::function<void()>;
void writePdf(const std::string& path, const QPageSize& size, QPageLayout::Orientation orientation,
              const QString& title, const std::function<void(QPainter&, const NewPage&)>& paint);

}  // namespace orrimar::print
