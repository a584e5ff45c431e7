#pragma once
// The tag maps on the auto-extract screen: what the opened text is ("RIS export: 8
// records"), the tag map its records are read by (a ready-made one, one saved in the labels
// file, or one changed in the "Tag map" dialog and not saved) or none, when the labels cut
// the text as they always have; the dialog; deleting and renaming saved maps as the label
// sets are deleted and renamed.

#include "formats/FormatDetection.h"
#include "formats/TagMap.h"

#include <QGroupBox>

#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QToolButton;

namespace papyrant {

class TextModel;

class TagMapFrame : public QGroupBox {
    Q_OBJECT
public:
    // `text` is the view's text, which the frame reads when a file is opened and for the
    // dialog.
    TagMapFrame(const TextModel& text, QWidget* parent);

    // Lists the ready-made maps and those saved in the labels file.
    void readMaps();
    // A text was opened: the frame says what it is and chooses the map for it: the one
    // chosen already when it was made for this layout, else the layout's ready-made map,
    // else the first saved map made for it, else none.
    void textOpened();
    // No tag map: the labels cut the text (a label set was chosen).
    void chooseLabels();
    bool mapChosen() const;
    // The chosen map, a saved one read afresh from the labels file; nothing when none is
    // chosen or the saved map is gone (the user has been told, and the list follows).
    std::optional<TagMap> chosenMap();
    // The layout the text was found to be when it was opened.
    TaggedFormat textFormat() const { return m_detection.format; }

signals:
    // The choice changed: a map, or none.
    void choiceChanged();

private:
    enum class Kind { None, Ready, Saved, FromDialog };

    void readSavedMaps(); // keeps the last list when the labels file can't be read

    // Lists no map, the ready-made maps, the saved ones and the changed one, and chooses
    // the entry of that kind and name (none when it is not listed).
    void FillTagMapList(Kind kind, const QString& name);
    void choose(Kind kind, const QString& name);
    // No map of this name any more: the ready-made map of the text's layout, or none.
    void chooseFallback();
    Kind chosenKind() const;
    QString chosenName() const;
    void UpdateTagMapButtons();
    void editMap();
    void deleteMap();
    void renameMap();

    const TextModel& m_text;
    FormatDetection m_detection;
    std::vector<TagMap> m_saved; // as last read from the labels file
    std::optional<TagMap> m_fromDialog; // taken from the dialog without saving
    QLabel* m_summary = nullptr; // what the opened text is
    QComboBox* m_maps = nullptr;
    QPushButton* m_edit = nullptr; // opens the "Tag map" dialog
    QToolButton* m_delete = nullptr;
    QToolButton* m_rename = nullptr;
};

} // namespace papyrant
