#include "TFilenameEdit.h"

#include "TDialogs.h"

#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

#include <algorithm>

TFilenameEdit::TFilenameEdit(QWidget* Parent)
    : QWidget(Parent), FEdit(new QLineEdit(this)), FButton(new QToolButton(this))
{
    FEdit->setObjectName(QStringLiteral("edit"));
    FButton->setObjectName(QStringLiteral("browse"));
    FButton->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    FButton->setToolTip(QStringLiteral("Durchsuchen"));
    // The button is reached by mouse only; Tab goes from the field to the next control.
    FButton->setFocusPolicy(Qt::NoFocus);
    setFocusProxy(FEdit);
    setFocusPolicy(FEdit->focusPolicy());
    connect(FButton, &QToolButton::clicked, this, &TFilenameEdit::Browse);
    connect(FEdit, &QLineEdit::textChanged, this, &TFilenameEdit::FilenameChanged);
}

QString TFilenameEdit::Filename() const
{
    return FEdit->text();
}

void TFilenameEdit::SetFilename(const QString& Value)
{
    FEdit->setText(Value);
}

void TFilenameEdit::Browse()
{
    TFileDialogOptions options;
    options.Title = FDialogTitle;
    options.Filter = FFilter;
    options.InitialDir = FInitialDir;
    options.FileName = Filename().trimmed();
    options.DefaultExt = FDefaultExt;
    const QString chosen = TDialogs::OpenFileName(options, this);
    if (!chosen.isEmpty())
        SetFilename(chosen);
}

void TFilenameEdit::resizeEvent(QResizeEvent* Event)
{
    QWidget::resizeEvent(Event);
    const int side = height();
    FEdit->setGeometry(0, 0, std::max(0, width() - side), side);
    FButton->setGeometry(width() - side, 0, side, side);
}
