#include "ui/grid_export.h"

#include "store/money.h"
#include "ui/message_box.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTableView>
#include <QUuid>
#include <xlsxwriter.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <filesystem>
#include <locale.h>

namespace ui {

namespace {

constexpr int kMaxCellText = 32767; // a longer text makes the whole workbook unreadable
constexpr lxw_row_t kMaxRows = 1048576;

QString errorText(lxw_error error) {
    return QString::fromUtf8(lxw_strerror(error));
}

lxw_datetime toLxw(const QDate& date, const QTime& time) {
    lxw_datetime value{};
    if (date.isValid()) {
        value.year = date.year();
        value.month = date.month();
        value.day = date.day();
    }
    value.hour = time.hour();
    value.min = time.minute();
    value.sec = time.second() + time.msec() / 1000.0;
    return value;
}

struct Formats {
    lxw_format* header;
    lxw_format* date;
    lxw_format* dateTime;
    lxw_format* time;
    lxw_format* money;
    lxw_format* fine;
};

Formats makeFormats(lxw_workbook* book) {
    Formats f{};
    f.header = workbook_add_format(book);
    format_set_bold(f.header);
    f.date = workbook_add_format(book);
    format_set_num_format(f.date, "dd.mm.yyyy");
    f.dateTime = workbook_add_format(book);
    format_set_num_format(f.dateTime, "dd.mm.yyyy hh:mm");
    f.time = workbook_add_format(book);
    format_set_num_format(f.time, "hh:mm:ss");
    f.money = workbook_add_format(book);
    format_set_num_format(f.money, "#,##0.00");
    f.fine = workbook_add_format(book);
    format_set_num_format(f.fine, "#,##0.00####");
    return f;
}

lxw_error writeText(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, const QString& text,
                    lxw_format* format = nullptr) {
    const QByteArray utf8 = text.left(kMaxCellText).toUtf8();
    return worksheet_write_string(sheet, row, col, utf8.constData(), format);
}

lxw_error writeCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, const GridCell& cell,
                    const Formats& f) {
    const QVariant& v = cell.value;
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return LXW_NO_ERROR;
    case QMetaType::QDate: {
        lxw_datetime dt = toLxw(v.toDate(), QTime(0, 0));
        return worksheet_write_datetime(sheet, row, col, &dt, f.date);
    }
    case QMetaType::QDateTime: {
        lxw_datetime dt = toLxw(v.toDateTime().date(), v.toDateTime().time());
        return worksheet_write_datetime(sheet, row, col, &dt, f.dateTime);
    }
    case QMetaType::QTime: {
        lxw_datetime dt = toLxw({}, v.toTime());
        return worksheet_write_datetime(sheet, row, col, &dt, f.time);
    }
    case QMetaType::Bool:
        return worksheet_write_boolean(sheet, row, col, v.toBool(), nullptr);
    case QMetaType::Double:
    case QMetaType::Float: {
        const double number = v.toDouble();
        if (!std::isfinite(number))
            return writeText(sheet, row, col, cell.text);
        // Amounts as shown, without the binary noise of sums (10.089999999999998);
        // rates and other finer values keep their digits.
        if (isAmount(number))
            return worksheet_write_number(sheet, row, col, store::roundMoney(number), f.money);
        return worksheet_write_number(sheet, row, col, number, f.fine);
    }
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return worksheet_write_number(sheet, row, col, v.toDouble(), nullptr);
    default:
        return writeText(sheet, row, col, cell.text);
    }
}

// The writer formats numbers and column widths with the C library: under a Bulgarian
// numeric locale it would write "10,09", which no reader accepts. The C locale is set for this
// thread while the workbook is written, whatever the process's locale is.
class CNumbersOnThisThread {
public:
    CNumbersOnThisThread() {
        if (locale_t base = duplocale(LC_GLOBAL_LOCALE)) {
            c_ = newlocale(LC_NUMERIC_MASK, "C", base);
            if (!c_)
                freelocale(base);
        }
        if (c_)
            previous_ = uselocale(c_);
    }
    ~CNumbersOnThisThread() {
        if (c_) {
            uselocale(previous_);
            freelocale(c_);
        }
    }
    CNumbersOnThisThread(const CNumbersOnThisThread&) = delete;
    CNumbersOnThisThread& operator=(const CNumbersOnThisThread&) = delete;

private:
    locale_t c_ = nullptr;
    locale_t previous_ = nullptr;
};

// Fills and closes the workbook; the first error wins.
lxw_error fillWorkbook(lxw_workbook* book, const GridData& data) {
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    if (!sheet) {
        workbook_close(book);
        return LXW_ERROR_MEMORY_MALLOC_FAILED;
    }
    const Formats f = makeFormats(book);
    lxw_error error = LXW_NO_ERROR;
    auto keep = [&error](lxw_error e) {
        if (error == LXW_NO_ERROR)
            error = e;
    };
    for (qsizetype c = 0; c < data.headers.size(); ++c) {
        keep(writeText(sheet, 0, static_cast<lxw_col_t>(c), data.headers[c], f.header));
        // Wide enough for the header and the shown texts, within reason.
        qsizetype chars = data.headers[c].size();
        for (const QList<GridCell>& row : data.rows) {
            if (c < row.size())
                chars = std::max(chars, row[c].text.size());
        }
        worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                             std::clamp<double>(chars + 2, 8, 60), nullptr);
    }
    for (qsizetype r = 0; r < data.rows.size(); ++r) {
        const QList<GridCell>& row = data.rows[r];
        for (qsizetype c = 0; c < row.size() && c < data.headers.size(); ++c)
            keep(writeCell(sheet, static_cast<lxw_row_t>(r + 1), static_cast<lxw_col_t>(c), row[c],
                           f));
    }
    keep(workbook_close(book));
    return error;
}

} // namespace

QString xlsxFileName(const QString& name) {
    if (name.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        return name;
    if (name.endsWith(QStringLiteral(".xls"), Qt::CaseInsensitive))
        return name + QLatin1Char('x');
    return name + QStringLiteral(".xlsx");
}

bool writeXlsx(const GridData& data, const QString& path, QString* reason) {
    auto fail = [reason](const QString& why) {
        if (reason)
            *reason = why;
        return false;
    };
    if (static_cast<lxw_row_t>(data.rows.size()) >= kMaxRows)
        return fail(QStringLiteral("Too many rows for a worksheet"));
    const QFileInfo target(path);
    const QDir folder = target.absoluteDir();
    if (!folder.exists())
        return fail(QStringLiteral("The folder does not exist"));
    // Written beside the target and renamed into place, so that a failure never leaves a
    // half-written workbook under the chosen name.
    const QString temporary =
        folder.filePath(QStringLiteral(".%1.%2.tmp")
                            .arg(target.fileName(), QUuid::createUuid().toString(QUuid::Id128)));
    const QByteArray temporaryName = QFile::encodeName(temporary);
    lxw_workbook_options options{};
    const QByteArray scratch = QFile::encodeName(QDir::tempPath());
    options.tmpdir = const_cast<char*>(scratch.constData());
    const CNumbersOnThisThread cNumbers;
    lxw_workbook* book = workbook_new_opt(temporaryName.constData(), &options);
    if (!book)
        return fail(QStringLiteral("Cannot create the workbook"));
    const lxw_error error = fillWorkbook(book, data); // frees the workbook
    if (error != LXW_NO_ERROR) {
        QFile::remove(temporary);
        return fail(errorText(error));
    }
    std::error_code ec;
    std::filesystem::rename(temporaryName.constData(),
                            QFile::encodeName(target.absoluteFilePath()).constData(), ec);
    if (ec) {
        QFile::remove(temporary);
        return fail(QString::fromStdString(ec.message()));
    }
    return true;
}

QString exportGrid(QWidget* parent, const GridData& data, const ExportOptions& options) {
    if (data.isEmpty())
        return {};
    QString proposed = xlsxFileName(options.proposedName);
    if (options.startInDocuments) {
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (!documents.isEmpty())
            proposed = QDir(documents).filePath(proposed);
    }
    QString path = ui::saveFileName(parent, options.dialogTitle, proposed,
                                    QStringLiteral("Microsoft Excel Worksheet (*.xlsx)"));
    if (path.isEmpty())
        return {};
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".xlsx");
    if (!writeXlsx(data, path)) {
        ui::error(parent, QStringLiteral("Грешка при записа на файла ") + path);
        return {};
    }
    return path;
}

QString exportGrid(QWidget* parent, const QTableView& view, const ExportOptions& options) {
    return exportGrid(parent, GridData::fromView(view), options);
}

} // namespace ui
