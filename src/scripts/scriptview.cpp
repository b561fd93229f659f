#include "scripts/scriptview.h"

#include "platform/ui/fontconversion.h"
#include "platform/ui/fontresolution.h"
#include "platform/web/htmltext.h"
#include "platform/web/scriptanswer.h"
#include "platform/web/webeditor.h"
#include "scripts/scriptfont.h"
#include "scripts/scriptrules.h"

#include <QColor>
#include <QEventLoop>
#include <QFileInfo>
#include <QFont>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace {
bool is(const QString& command, const char* name) {
    return command.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

QString cssColour(const QColor& colour) {
    return colour.name(QColor::HexRgb);
}
} // namespace

ScriptView::ScriptView(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    setFocusPolicy(Qt::StrongFocus);
}

ScriptView::~ScriptView() {
    // The editor's last answers come while it goes; this view must still be whole for them.
    delete editor_;
    editor_ = nullptr;
}

WebEditor* ScriptView::editor() {
    if (editor_ == nullptr) {
        editor_ = new WebEditor(this);
        layout()->addWidget(editor_);
        setFocusProxy(editor_);
        editor_->SetEditMode(editing_);
        connect(editor_, &WebEditor::Edited, this, &ScriptView::DocumentChanged);
        connect(editor_, &WebEditor::StateChanged, this, [this](const WebEditorState& state) {
            state_ = state;
            Q_EMIT SelectionChanged();
        });
        connect(editor_, &WebEditor::ProcessEnded, this, [this] {
            state_ = {};
            scroll_ = {};
            Q_EMIT ProcessEnded();
        });
        connect(editor_, &WebEditor::LoadFinished, this, [this](bool ok) {
            scroll_ = {};
            Q_EMIT LoadFinished(ok);
        });
    }
    return editor_;
}

void ScriptView::SetAllowedFolders(const QStringList& folders) {
    policy_ = LocalContentPolicy();
    for (const QString& folder : folders) {
        policy_.AllowFolder(folder);
    }
}

void ScriptView::ClearDocument() {
    state_ = {};
    scroll_ = {};
    if (editor_ != nullptr) {
        editor_->Clear();
    }
}

void ScriptView::WriteDocument(const QString& html) {
    state_ = {};
    editor()->SetHtml(html);
}

bool ScriptView::NavigateFile(const QString& path, ScriptFile::Snapshot* snapshot, QString* error,
                              bool* tooLarge) {
    const QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    if (!policy_.MayLoad(url)) {
        if (error != nullptr) {
            *error = QStringLiteral("the file lies outside the script folders");
        }
        return false;
    }
    QString text;
    if (!ScriptFile::Read(path, text, snapshot, error, tooLarge)) {
        return false;
    }
    if (IsHtmlScriptFile(path)) {
        WriteDocument(text);
    } else {
        WriteDocument(QStringLiteral("<html><body style=\"white-space: pre-wrap\">") +
                      HtmlText::Escape(text) + QStringLiteral("</body></html>"));
    }
    return true;
}

bool ScriptView::IsLoading() const {
    return editor_ != nullptr && editor_->IsLoading();
}

std::optional<QString> ScriptView::HTML() {
    return editor()->HtmlNow();
}

QString ScriptView::PlainText() {
    if (editor_ == nullptr) {
        return {};
    }
    QEventLoop loop;
    auto text = std::make_shared<std::optional<QString>>();
    editor_->ReadPlainText(&loop, [text, &loop](const QString& t) {
        *text = t;
        loop.quit();
    });
    QTimer::singleShot(WebEditor::kReadDeadlineMs, &loop, &QEventLoop::quit);
    if (!text->has_value()) {
        loop.exec();
    }
    return text->value_or(QString());
}

void ScriptView::ApplyFont(const ScriptFontLook& look) {
    QList<std::pair<QString, QString>> style = {
        {QStringLiteral("margin"), QStringLiteral("4px")},
        {QStringLiteral("font-family"), FontResolution::CssFamilies(look.family)}};
    if (look.pixelSize > 0) {
        style.append({QStringLiteral("font-size"), QString::number(look.pixelSize) + "px"});
    }
    // Only a style that is on is set, as the page's own emphasis stays otherwise.
    if (look.bold) {
        style.append({QStringLiteral("font-weight"), QStringLiteral("bold")});
    }
    if (look.italic) {
        style.append({QStringLiteral("font-style"), QStringLiteral("italic")});
    }
    QStringList lines;
    if (look.underline) {
        lines << QStringLiteral("underline");
    }
    if (look.strikeThrough) {
        lines << QStringLiteral("line-through");
    }
    if (!lines.isEmpty()) {
        style.append({QStringLiteral("text-decoration"), lines.join(QLatin1Char(' '))});
    }
    if (look.colour.isValid()) {
        style.append({QStringLiteral("color"), cssColour(look.colour)});
    }
    editor()->SetBodyStyle(style);
}

void ScriptView::ApplySelectionFont(const QFont& font, const QColor& colour) {
    if (!editing_ || editor_ == nullptr) {
        return;
    }
    editor_->SetFontName(font.family());
    const qint32 step = FontConversion::PointSizeStep(font.pointSizeF());
    if (step >= 1 && step <= 7) {
        editor_->SetFontSize(step);
    }
    if ((state_.bold == 1) != font.bold()) {
        editor_->ToggleBold();
    }
    if ((state_.italic == 1) != font.italic()) {
        editor_->ToggleItalic();
    }
    if ((state_.underline == 1) != font.underline()) {
        editor_->ToggleUnderline();
    }
    if ((state_.strikeThrough == 1) != font.strikeOut()) {
        editor_->ToggleStrikeThrough();
    }
    if (colour.isValid()) {
        editor_->SetForeColour(colour);
    }
}

void ScriptView::SetEditMode(bool on) {
    editing_ = on;
    if (editor_ != nullptr) {
        editor_->SetEditMode(on);
    }
}

void ScriptView::ToggleBold() {
    if (editing_ && editor_ != nullptr) {
        editor_->ToggleBold();
    }
}
void ScriptView::ToggleItalic() {
    if (editing_ && editor_ != nullptr) {
        editor_->ToggleItalic();
    }
}
void ScriptView::ToggleUnderline() {
    if (editing_ && editor_ != nullptr) {
        editor_->ToggleUnderline();
    }
}
void ScriptView::ToggleStrikeThrough() {
    if (editing_ && editor_ != nullptr) {
        editor_->ToggleStrikeThrough();
    }
}
void ScriptView::Cut() {
    if (editor_ != nullptr) {
        editor_->Cut();
    }
}
void ScriptView::Copy() {
    if (editor_ != nullptr) {
        editor_->Copy();
    }
}
void ScriptView::Paste() {
    if (editor_ != nullptr) {
        editor_->Paste();
    }
}
void ScriptView::SelectAll() {
    if (editor_ != nullptr) {
        editor_->SelectAll();
    }
}

bool ScriptView::SendBrowserCommand(const QString& command) {
    if (!editing_ || editor_ == nullptr || !BrowserCommandEnabled(command)) {
        return false;
    }
    if (is(command, "undo")) {
        editor_->Undo();
        return true;
    }
    if (is(command, "redo")) {
        editor_->Redo();
        return true;
    }
    return false;
}

bool ScriptView::BrowserCommandEnabled(const QString& command) const {
    if (is(command, "undo")) {
        return state_.canUndo;
    }
    if (is(command, "redo")) {
        return state_.canRedo;
    }
    if (is(command, "cut")) {
        return state_.canCut;
    }
    if (is(command, "copy")) {
        return state_.canCopy;
    }
    if (is(command, "paste")) {
        return state_.canPaste;
    }
    return false;
}

bool ScriptView::Print(QPrinter* printer) {
    return editor_ != nullptr && editor_->PrintAndWait(printer);
}

void ScriptView::ScrollBy(int dx, int dy) {
    if (editor_ == nullptr || editor_->IsLoading()) {
        return;
    }
    const QPointer<ScriptView> self(this);
    editor_->RunInEditorWorld(
        QStringLiteral("window.scrollBy(%1,%2);[window.scrollX||0,window.scrollY||0]")
            .arg(dx)
            .arg(dy),
        [self](const QVariant& result) {
            const std::optional<QPoint> position = ScriptAnswer::Position(result);
            if (!self.isNull() && position) {
                self->scroll_ = *position;
            }
        });
}
