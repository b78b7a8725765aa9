#include "app/desk_panel.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <memory>
#include <cstdint>

#include "app/entry_page.h"
#include "app/extra_selections.h"
#include "app/qt_text.h"
#include "app/text_filter.h"
#include "app/translation_desk.h"
#include "rom/catalogues.h"
#include "text/decode.h"

namespace velk {
namespace {


const char* const kRepeatsKey = "desk/applyToRepeats";
const QColor kRemoved(255, 215, 215);
const QColor kInserted(212, 247, 212);
constexpr size_t kDiffCells = 1'000'000;  // past this, the whole differing middle is marked
constexpr int kUsesShown = 200;

void addRun(std::vector<std::pair<int, int>>& runs, int at) {
    if (!runs.empty() && runs.back().first + runs.back().second == at) ++runs.back().second;
    else runs.emplace_back(at, 1);
}

QString fieldText(QString form) { return form.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

// A list's line for an entry: its label and its text on one line.
QString entryLine(EntryKind kind, int index, QString form) {
    form.replace(QStringLiteral("\r\n"), QStringLiteral("↵"));
    return qtText(entryLabel(kind, index)) + QStringLiteral("  ") + form;
}

}  // namespace

TextDiff diffText(const QString& a, const QString& b) {
    TextDiff d;
    const int na = static_cast<int>(a.size()), nb = static_cast<int>(b.size());
    int head = 0;
    while (head < na && head < nb && a[head] == b[head]) ++head;
    int tail = 0;
    while (tail < na - head && tail < nb - head && a[na - 1 - tail] == b[nb - 1 - tail]) ++tail;
    const int n = na - head - tail, m = nb - head - tail;
    if (n == 0 || m == 0 || static_cast<size_t>(n + 1) * static_cast<size_t>(m + 1) > kDiffCells) {
        if (n > 0) d.removed.emplace_back(head, n);
        if (m > 0) d.inserted.emplace_back(head, m);
        return d;
    }
    // lcs[i][j]: the longest common subsequence of a's middle from i and b's from j.
    const auto w = static_cast<size_t>(m + 1);
    std::vector<uint16_t> lcs(static_cast<size_t>(n + 1) * w, 0);
    for (int i = n - 1; i >= 0; --i)
        for (int j = m - 1; j >= 0; --j) {
            const size_t at = static_cast<size_t>(i) * w + static_cast<size_t>(j);
            lcs[at] = a[head + i] == b[head + j] ? static_cast<uint16_t>(lcs[at + w + 1] + 1)
                                                 : std::max(lcs[at + w], lcs[at + 1]);
        }
    int i = 0, j = 0;
    while (i < n || j < m) {
        const size_t at = static_cast<size_t>(i) * w + static_cast<size_t>(j);
        if (i < n && j < m && a[head + i] == b[head + j]) ++i, ++j;
        else if (j == m || (i < n && lcs[at + w] >= lcs[at + 1])) addRun(d.removed, head + i++);
        else addRun(d.inserted, head + j++);
    }
    return d;
}

DeskPanel::DeskPanel(EditorSession& session, EntryKind kind, EntryPage& page)
    : QObject(&page), session_(session), desk_(session.desk()), kind_(kind), page_(page) {
    original_ = new QTextEdit(&page);
    original_->setObjectName(QStringLiteral("OriginalView"));
    original_->setReadOnly(true);
    original_->setPlaceholderText(tr("原文"));
    original_->setToolTip(tr("原文（読み込んだ時のテキスト）。赤は訳文にない部分、下線は用語集の語です"));
    original_->setMaximumHeight(original_->fontMetrics().height() * (kind == EntryKind::Name ? 2 : 5) + 12);
    original_->setContextMenuPolicy(Qt::CustomContextMenu);

    note_ = new QPlainTextEdit(&page);
    note_->setObjectName(QStringLiteral("NoteField"));
    note_->setPlaceholderText(tr("メモ（適用するか、ほかへ移ると記録されます）"));
    note_->setTabChangesFocus(true);
    note_->setMaximumHeight(note_->fontMetrics().height() * 2 + 12);
    note_->installEventFilter(this);

    filter_ = new QComboBox(&page);
    filter_->setObjectName(QStringLiteral("StatusFilter"));
    filter_->addItem(tr("すべての状態"));
    for (size_t s = 0; s < kDeskStatusCount; ++s) filter_->addItem(deskStatusName(static_cast<DeskStatus>(s)));

    side_ = new QWidget(&page);
    terms_ = new QListWidget(side_);
    terms_->setObjectName(QStringLiteral("GlossaryTerms"));
    missing_ = new QLabel(side_);
    missing_->setObjectName(QStringLiteral("MissingTerms"));
    missing_->setWordWrap(true);
    missing_->setStyleSheet(QStringLiteral("color: #b00020;"));
    usesTitle_ = new QLabel(kind == EntryKind::Name ? tr("この名前を使うテキスト") : tr("使っている名前"), side_);
    uses_ = new QListWidget(side_);
    uses_->setObjectName(QStringLiteral("UsesList"));
    repeatsTitle_ = new QLabel(tr("同じ原文"), side_);
    repeats_ = new QListWidget(side_);
    repeats_->setObjectName(QStringLiteral("RepeatsList"));
    // A short label that fits the narrow side pane; the sentence is its tip.
    repeatsBox_ = new QCheckBox(tr("同じ原文にも反映"), side_);
    repeatsBox_->setToolTip(tr("適用時に同じ原文の項目にも反映する"));
    repeatsBox_->setObjectName(QStringLiteral("RepeatsBox"));
    repeatsBox_->setChecked(QSettings(QStringLiteral("VELK"), QStringLiteral("velk")).value(kRepeatsKey, false).toBool());
    auto* layout = new QVBoxLayout(side_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(tr("用語"), side_));
    layout->addWidget(terms_, 1);
    layout->addWidget(missing_);
    layout->addWidget(usesTitle_);
    layout->addWidget(uses_, 1);
    layout->addWidget(repeatsTitle_);
    layout->addWidget(repeats_, 1);
    layout->addWidget(repeatsBox_);
    side_->setMinimumWidth(side_->fontMetrics().horizontalAdvance(QStringLiteral("##No.00 00  ")) * 2);

    // Ctrl+1 to Ctrl+5 and Ctrl+J while the list or its editor has the focus.
    for (size_t s = 0; s < kDeskStatusCount; ++s) {
        auto* action = new QAction(deskStatusName(static_cast<DeskStatus>(s)), &page);
        action->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + static_cast<int>(s))));
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, [this, s] { setStatus(static_cast<DeskStatus>(s)); });
        page.addAction(action);
    }
    auto* next = new QAction(tr("次の未翻訳へ"), &page);
    next->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_J));
    next->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(next, &QAction::triggered, this, &DeskPanel::nextUntranslated);
    page.addAction(next);

    connect(filter_, &QComboBox::currentIndexChanged, this, &DeskPanel::applyFilter);
    connect(page.editor(), &QPlainTextEdit::textChanged, this, &DeskPanel::showDiff);
    connect(repeatsBox_, &QCheckBox::clicked, this, [](bool on) {
        QSettings(QStringLiteral("VELK"), QStringLiteral("velk")).setValue(kRepeatsKey, on);
    });
    connect(&desk_, &TranslationDesk::entriesChanged, this, [this](EntryKind k, const std::vector<int>& rows) {
        if (k != kind_) return;
        if (filter_->currentIndex() > 0) applyFilter();
        if (std::ranges::find(rows, shown_) != rows.end()) show(shown_);
    });
    // An edit can change an implicit status: filter again once the lists have read it.
    connect(&session_, &EditorSession::changed, this, [this] {
        if (filter_->currentIndex() > 0) QTimer::singleShot(0, this, &DeskPanel::applyFilter);
    });
    connect(&desk_, &TranslationDesk::glossaryChanged, this, [this] { show(shown_); });
    connect(&desk_, &TranslationDesk::originalsChanged, this, [this] { shown_ = -1; });
    auto jump = [this](QListWidget* list, bool sameKind) {
        connect(list, &QListWidget::itemActivated, this, [this, sameKind](QListWidgetItem* item) {
            const int index = item->data(Qt::UserRole).toInt();
            const EntryKind other = kind_ == EntryKind::Name ? EntryKind::Text : EntryKind::Name;
            if (sameKind) page_.select(index);
            else if (onJump) onJump(other, index);
        });
    };
    jump(uses_, false);
    jump(repeats_, true);
    connect(original_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        std::unique_ptr<QMenu> menu(original_->createStandardContextMenu());
        const QString selected = original_->textCursor().selectedText().replace(QChar(0x2029), u'\n');
        QAction* add = menu->addAction(tr("用語集に追加(&G)..."), this, [this, selected] {
            bool ok = false;
            const QString translation = QInputDialog::getText(original_, tr("用語集に追加"),
                                                              tr("「%1」の訳語:").arg(selected), QLineEdit::Normal, {}, &ok);
            if (!ok) return;
            static const QRegularExpression breaks(QStringLiteral("[\\t\\r\\n]"));
            if (selected.contains(breaks) || translation.contains(breaks) || selected.startsWith(u'#'))
                return session_.showStatus(tr("用語と訳語にはタブや改行を含められず、用語は # で始められません"));
            desk_.addTerm(GlossaryTerm{selected.toStdString(), translation.toStdString(), {}, 0});
        });
        add->setEnabled(!selected.trimmed().isEmpty() && shown_ >= 0);
        menu->exec(original_->viewport()->mapToGlobal(at));
    });
}

bool DeskPanel::eventFilter(QObject* watched, QEvent* event) {
    // Apply takes the note with the entry, as one step.
    if (watched == note_ && event->type() == QEvent::FocusOut && QApplication::focusWidget() != page_.applyButton())
        keepNote();
    return QObject::eventFilter(watched, event);
}

void DeskPanel::keepNote() {
    if (shown_ >= 0 && static_cast<size_t>(shown_) < desk_.count(kind_)) desk_.setNote(kind_, shown_, note_->toPlainText());
}

void DeskPanel::show(int index) {
    if (index != shown_) {
        keepNote();
        shown_ = index;
        note_->setPlainText(desk_.note(kind_, index));
    } else if (!note_->hasFocus()) {
        note_->setPlainText(desk_.note(kind_, index));
    }
    showSide();
    showDiff();
}

void DeskPanel::showDiff() {
    if (shown_ < 0) return;
    const QString original = fieldText(desk_.original(kind_, shown_));
    const QString typed = page_.editor()->toPlainText();
    const TextDiff diff = diffText(original, typed);
    original_->setPlainText(original);
    auto mark = [](QTextCursor cursor, int at, int length, const QTextCharFormat& format) {
        cursor.setPosition(at);
        cursor.setPosition(at + length, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(format);
    };
    QTextCharFormat removed;
    removed.setBackground(kRemoved);
    for (const auto& [at, length] : diff.removed) mark(QTextCursor(original_->document()), at, length, removed);
    QTextCharFormat term;
    term.setFontUnderline(true);
    term.setUnderlineColor(QColor(0, 90, 200));
    for (const GlossaryTerm& t : desk_.glossary()) {
        const QString word = QString::fromStdString(t.original);
        for (qsizetype at = word.isEmpty() ? -1 : original.indexOf(word); at >= 0; at = original.indexOf(word, at + word.size()))
            mark(QTextCursor(original_->document()), static_cast<int>(at), static_cast<int>(word.size()), term);
    }
    QList<QTextEdit::ExtraSelection> inserted;
    for (const auto& [at, length] : diff.inserted) {
        QTextEdit::ExtraSelection s;
        s.cursor = QTextCursor(page_.editor()->document());
        s.cursor.setPosition(at);
        s.cursor.setPosition(at + length, QTextCursor::KeepAnchor);
        s.format.setBackground(kInserted);
        inserted << s;
    }
    setMarks(page_.editor(), MarkSource::Desk, inserted);

    // The glossary's agreed translations the text lacks, once it is past untranslated.
    QStringList missing;
    if (desk_.status(kind_, shown_) != DeskStatus::Untranslated)
        for (const GlossaryTerm* t : missingTerms(desk_.glossary(), original.toStdString(), typed.toStdString()))
            missing << tr("「%1」→「%2」").arg(QString::fromStdString(t->original), QString::fromStdString(t->translation));
    missing_->setText(missing.isEmpty() ? QString() : tr("訳語がありません: ") + missing.join(tr("、")));
    missing_->setVisible(!missing.isEmpty());
}

void DeskPanel::showSide() {
    terms_->clear();
    uses_->clear();
    repeats_->clear();
    if (shown_ < 0) return;
    const QString original = desk_.original(kind_, shown_);
    for (const GlossaryTerm& t : desk_.glossary()) {
        const QString word = QString::fromStdString(t.original);
        if (word.isEmpty() || !original.contains(word)) continue;
        auto* item = new QListWidgetItem(word + QStringLiteral(" → ") +
                                         (t.translation.empty() ? tr("（未定）") : QString::fromStdString(t.translation)));
        item->setToolTip(QString::fromStdString(t.note));
        terms_->addItem(item);
    }
    auto add = [](QListWidget* list, const QString& text, int index) {
        auto* item = new QListWidgetItem(text, list);
        item->setData(Qt::UserRole, index);
    };
    const EditorState& state = session_.state();
    if (kind_ == EntryKind::Text) {
        // "[F1 23:(name)]": a word reference to name 0x123.
        static const QRegularExpression reference(QStringLiteral("\\[F([0-9A-F]) ([0-9A-F]{2}):\\("));
        std::vector<int> names;
        for (const QRegularExpressionMatch& m : reference.globalMatch(desk_.current(kind_, shown_)))
            names.push_back((m.captured(1).toInt(nullptr, 16) << 8) | m.captured(2).toInt(nullptr, 16));
        std::ranges::sort(names);
        names.erase(std::unique(names.begin(), names.end()), names.end());
        for (const int n : names)
            if (static_cast<size_t>(n) < state.catalogues.names.size()) add(uses_, entryLine(EntryKind::Name, n, desk_.current(EntryKind::Name, n)), n);
    } else {
        const std::array<uint8_t, 2> code = {static_cast<uint8_t>(0xF0 + (shown_ >> 8)), static_cast<uint8_t>(shown_ & 0xFF)};
        const ConstCatalogue texts = std::as_const(state.catalogues).texts();
        for (size_t i = 0; i < texts.size() && uses_->count() < kUsesShown; ++i)
            if (holdsBytes(texts[i].unpacked, code))
                add(uses_, entryLine(EntryKind::Text, static_cast<int>(i), desk_.current(EntryKind::Text, static_cast<int>(i))),
                    static_cast<int>(i));
    }
    const std::vector<int> repeats = desk_.repeatsOf(kind_, shown_);
    for (const int r : repeats)
        add(repeats_, entryLine(kind_, r, desk_.current(kind_, r)) + QStringLiteral("  [") + deskStatusName(desk_.status(kind_, r)) + u']', r);
    repeatsTitle_->setText(tr("同じ原文 (%1)").arg(repeats.size()));
}

void DeskPanel::apply(int index, const std::string& form, const QString& stepName) {
    const QString label = qtText(entryLabel(kind_, index));
    if (desk_.locked(kind_, index)) {
        session_.showStatus(tr("%1 は固定されています。変更するには固定を外してください").arg(label));
        return;
    }
    std::vector<int> others;
    size_t skipped = 0;
    if (repeatsBox_->isChecked())
        for (const int r : desk_.repeatsOf(kind_, index)) {
            if (desk_.locked(kind_, r)) ++skipped;
            else others.push_back(r);
        }
    QUndoCommand* note = index == shown_ ? desk_.noteCommand(kind_, index, note_->toPlainText()) : nullptr;
    std::vector<int> touched = others;  // the entries the step may change, and no others
    touched.push_back(index);
    QUndoStack& stack = session_.undoStack();
    if (note) stack.beginMacro(stepName);
    session_.run(stepName, [&](EditorState& s, Platform&) {
        Outcome outcome = applyEntry(s, kind_, index, form);
        if (!outcome.done() || (others.empty() && skipped == 0)) return outcome;
        size_t applied = 0;
        for (const int r : others) applied += applyEntry(s, kind_, r, form).done() ? 1 : 0;
        outcome.summary += sjisText(tr("（同じ原文の %1 件にも反映").arg(applied) +
                                    (skipped ? tr("、固定の %1 件は除外").arg(skipped) : QString()) + tr("）"));
        return outcome;
    }, EntryScope{kind_, touched});
    if (note) {
        stack.push(note);
        stack.endMacro();
    }
}

void DeskPanel::setStatus(std::optional<DeskStatus> status) {
    if (page_.current() < 0) return;
    desk_.setStatus(kind_, {page_.current()}, status);
}

void DeskPanel::nextUntranslated() {
    const EntryTableModel* model = page_.model();
    const int n = model->rowCount();
    const int from = page_.current();
    for (int step = 1; step <= n; ++step) {
        const int i = ((from < 0 ? -1 : from) + step) % n;
        if (desk_.status(kind_, i, model->asOriginal(i)) != DeskStatus::Untranslated) continue;
        if (filter_->currentIndex() > 1) filter_->setCurrentIndex(0);  // the filter would hide it
        page_.select(i);
        if (i <= from) session_.showStatus(tr("先頭に戻って次の未翻訳を表示しました"));
        return;
    }
    session_.showStatus(tr("未翻訳の項目はありません"));
}

void DeskPanel::addToMenu(QMenu& menu, int row) {
    QMenu* statuses = menu.addMenu(tr("状態(&T)"));
    const DeskStatus now = desk_.status(kind_, row, page_.model()->asOriginal(row));
    for (size_t s = 0; s < kDeskStatusCount; ++s) {
        const auto status = static_cast<DeskStatus>(s);
        QAction* a = statuses->addAction(deskStatusName(status), this, [this, row, status] { desk_.setStatus(kind_, {row}, status); });
        a->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + static_cast<int>(s))));
        a->setCheckable(true);
        a->setChecked(status == now);
    }
}

void DeskPanel::applyFilter() {
    const int chosen = filter_->currentIndex();
    if (chosen <= 0) {
        page_.filterModel()->setRowTest(EntryFilterModel::ByStatus, {});
    } else {
        const auto wanted = static_cast<DeskStatus>(chosen - 1);
        const EntryTableModel* model = page_.model();
        page_.filterModel()->setRowTest(EntryFilterModel::ByStatus, [this, model, wanted](int row) {
            return desk_.status(kind_, row, model->asOriginal(row)) == wanted;
        });
    }
    emit filterChanged();
}

}  // namespace velk
