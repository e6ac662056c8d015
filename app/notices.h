#pragma once

#include <QDialog>
#include <QPoint>
#include <QSize>
#include <QString>

#include <functional>

class QFrame;
class QLabel;
class QToolButton;

namespace Ui {
class QuestiondialogB;
class MouseOffLine;
class ContainReset;
class UpDateWarning;
class LessThree;
} // namespace Ui

// Where a notice of size `dialog` goes relative to an opener at `openerPos`
// (global top-left) of size `opener`: centred, each half truncated toward
// zero, then shifted by (dx, dy).
QPoint noticePosition(const QPoint &openerPos, const QSize &opener, const QSize &dialog, int dx, int dy);
// Moves `dialog` by that rule relative to `opener`.
void placeNotice(QWidget *dialog, const QWidget *opener, int dx = 0, int dy = 0);

// The picture folder of the notices: "<app dir>/Picture/WarningDialog/".
QString noticePictureDir();

// The look every notice shares: window flags, the frame's background, the
// close button and the confirmation buttons' images, the label and button
// colours of the catalogue's theme.
void styleNotice(QDialog *dialog, QFrame *frame, QLabel *label, QToolButton *closeButton,
                 const QList<QToolButton *> &confirmButtons, const QString &pictureDir,
                 const QString &confirmImage, const QString &confirmClickImage, bool colourButtons = true);

// The widgets of a notice's form that its look touches.
struct NoticeParts
{
    QFrame *frame;
    QLabel *label;
    QToolButton *closeButton;
    QList<QToolButton *> confirmButtons;
    QString confirmImage = QStringLiteral("Confirm.png");
    QString confirmClickImage = QStringLiteral("ConfirmClick.png");
};

// The rest of a notice's construction once its form is set up: the shared
// look (styleNotice), the hub's SigAllLanguage(int) connected to the
// notice's SlotAllLanguage(int) and called once with the current language,
// and the fonts scaled to the screen. Returns the picture folder.
QString setUpNotice(QDialog *notice, const NoticeParts &parts, const std::function<void(int)> &relabel);
template <typename Notice>
QString setUpNotice(Notice *notice, const NoticeParts &parts)
{
    return setUpNotice(notice, parts, [notice](int index) { notice->SlotAllLanguage(index); });
}

// Two identical devices are attached.
class QuestiondialogB : public QDialog
{
    Q_OBJECT

public:
    explicit QuestiondialogB(QWidget *parent = nullptr);
    ~QuestiondialogB() override;

public slots:
    void SlotAllLanguage(int index);
    void on_CloseButton_clicked();

private:
    Ui::QuestiondialogB *ui;
    QString pictureDir;
};

// The mouse does not answer (offlineNoticeKind 0) or the pages were not
// refilled in time (1). Closed from outside by SigCloseOffOnline().
class MouseOffLine : public QDialog
{
    Q_OBJECT

public:
    explicit MouseOffLine(QWidget *parent = nullptr);
    ~MouseOffLine() override;

public slots:
    void SlotAllLanguage(int index);
    void on_NewHong_clicked();
    void on_CloseButton_clicked();

private:
    Ui::MouseOffLine *ui;
    QString pictureDir;
};

// A question with OK and Cancel; `accepted` tells the answer.
class ContainReset : public QDialog
{
    Q_OBJECT

public:
    explicit ContainReset(QWidget *parent = nullptr);
    ~ContainReset() override;

    void setText(const QString &text);

    bool accepted = false;

public slots:
    void SlotAllLanguage(int index);
    void on_OK_clicked();
    void on_Cancel_clicked();
    void on_CloseButton_clicked();

private:
    Ui::ContainReset *ui;
    QString pictureDir;
};

// A message whose text the opener supplies.
class UpDateWarning : public QDialog
{
    Q_OBJECT

public:
    explicit UpDateWarning(QWidget *parent = nullptr);
    ~UpDateWarning() override;

    void setText(const QString &text);

public slots:
    void SlotAllLanguage(int index);
    void on_NewHong_clicked();
    void on_CloseButton_clicked();

private:
    Ui::UpDateWarning *ui;
    QString pictureDir;
};

// A short debounce time was set.
class LessThree : public QDialog
{
    Q_OBJECT

public:
    explicit LessThree(QWidget *parent = nullptr);
    ~LessThree() override;

public slots:
    void SlotAllLanguage(int index);
    void on_NewHong_clicked();
    void on_CloseButton_clicked();

private:
    Ui::LessThree *ui;
    QString pictureDir;
};
