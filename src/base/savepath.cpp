#include "base/savepath.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace quorvia {

namespace {

// The endings a filter such as "Images (*.png *.svg)" names, in order (".png", ".svg").
QStringList endingsOf(const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral("\\*(\\.[^\\s;()*]+)"));
    QStringList endings;
    for (const QRegularExpressionMatch& match : pattern.globalMatch(filter))
        endings << match.captured(1);
    return endings;
}

// Whether the text ends in the ending, ASCII letters in any case: no other character (such as a
// long s, which folds to s in Unicode) passes for a letter of it.
bool endsWithCaseless(const QString& text, const QString& ending) {
    if (text.size() < ending.size())
        return false;
    const QString end = text.right(ending.size());
    for (qsizetype i = 0; i < ending.size(); ++i) {
        const char16_t a = end.at(i).unicode();
        const char16_t b = ending.at(i).unicode();
        const auto lower = [](char16_t c) {
            return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
        };
        if (lower(a) != lower(b))
            return false;
    }
    return true;
}

} // namespace

QString pathWithEnding(const QString& chosen, const QString& filters, const QString& chosenFilter) {
    for (const QString& ending : endingsOf(filters)) {
        if (endsWithCaseless(chosen, ending))
            return chosen;
    }
    const QStringList all = filters.split(QStringLiteral(";;"));
    const QStringList chosenEndings =
        endingsOf(all.contains(chosenFilter) ? chosenFilter : all.first());
    return chosenEndings.isEmpty() ? chosen : chosen + chosenEndings.first();
}

QString chooseSavePath(QWidget* parent, FileDialogs& dialogs, MessageBoxes& messages,
                       const FileDialogRequest& request) {
    QString chosenFilter;
    const QString chosen = dialogs.saveFileName(parent, request, &chosenFilter);
    if (chosen.isEmpty())
        return {};
    // The dialog asked before replacing the file it was given; one under the extended name it
    // never saw is asked about here.
    const QString path = pathWithEnding(chosen, request.filter, chosenFilter);
    if (path != chosen && QFileInfo::exists(path)) {
        const QString question = QStringLiteral("%1 already exists.\r\nDo you want to replace it?")
                                     .arg(QFileInfo(path).fileName());
        if (!messages.askYesNo(parent, question))
            return {};
    }
    return path;
}

} // namespace quorvia
