#include "print/pdf_file.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include "common/errors.h"
#include "common/output_destination.h"

namespace orrimar::print {

void writePdf(const std::string& path, const QPageSize& size, QPageLayout::Orientation orientation,
              const QString& title, const std::function<void(QPainter&, const NewPage&)>& paint) {
    // Looked at before the pages are drawn: a poster of a million systems
    // is not drawn only to be refused.
    checkOutputDestination(path);
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(600);
        writer.setCreator(QStringLiteral("Orrimar"));
        writer.setTitle(title);
        writer.setPageLayout(QPageLayout(size, orientation, QMarginsF(0, 0, 0, 0)));
        QPainter painter;
        if (!painter.begin(&writer)) throw IoError("Could not start a PDF for " + path);
        paint(painter, [&writer] { writer.newPage(); });
        painter.end();
    }
    GuardedOutputFile out(path);
    out.stream().write(bytes.constData(), static_cast<std::streamsize>(bytes.size()));
    out.commit();
}

}  // namespace orrimar::print
