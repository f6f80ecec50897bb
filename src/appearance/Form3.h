#pragma once

#include <QColor>
#include <QDialog>
#include <array>
#include <functional>

class AppearanceModel;
struct Appearance;
class QComboBox;
class QFrame;
class QLabel;
class QScrollBar;
class SettingsStore;

// The small dialog that chooses how the strip's letters look. Each change goes into the
// appearance model at once; the opacity only when the user closes the dialog, which then saves
// everything. Closing only hides it. It is made when it is first opened, and shows the model's
// values, which start-up loaded from the store.
class Form3 : public QDialog
{
    Q_OBJECT

public:
    // Opens the colour chooser on a colour; an invalid colour means the user cancelled.
    using ColourChooser = std::function<QColor(const QColor& initial, QWidget* parent)>;
    // Tells the user about an error and waits for OK.
    using ErrorNotice = std::function<void(const QString& text, const QString& title, QWidget* parent)>;

    // Created hidden, showing the model's values; its own load (the font list) has run when the
    // constructor returns.
    Form3(AppearanceModel& appearance, SettingsStore& store, QWidget* parent = nullptr);

    void setColourChooser(ColourChooser chooser) { m_chooseColour = std::move(chooser); }
    void setErrorNotice(ErrorNotice notice) { m_notifyError = std::move(notice); }

    // Shows the dialog centred on the screen and brings it forward.
    void showCentred();

    void Form_Load();
    void Combo1_Click();
    void Combo2_Click();
    void Picture1_MouseDown(int index, Qt::MouseButton button);
    void Label2_MouseDown(int index);
    // The close box: hands the opacity to the model, hides, then saves.
    void Form_Unload();

signals:
    // Closing could not save the appearance; the message says where and why.
    void saveFailed(const QString& message);

public slots:
    // Escape closes the dialog the same way as the close box.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    // The model's values into the controls: swatches, opacity, markers, the shadow sizes, the
    // font name, then the shadow selection.
    void showValues(const Appearance& values);
    QColor swatchColour(int index) const;
    void setSwatchColour(int index, const QColor& colour);

    AppearanceModel& m_appearance;
    SettingsStore& m_store;
    ColourChooser m_chooseColour;
    ErrorNotice m_notifyError;

    QComboBox* Combo1 = nullptr;
    QComboBox* Combo2 = nullptr;
    QScrollBar* HScroll1 = nullptr;
    std::array<QLabel*, 6> Label1{};
    std::array<QFrame*, 4> Picture1{};
    std::array<QLabel*, 4> Label2{};
};
