#pragma once
// The "Tag map" dialog: every tag of the open text with how often it occurs, in how many
// records, its first value and the field it fills, which the user may change for any tag.
// "Save" keeps the map under a name in the labels file (asking as the label sets do); "OK"
// takes the map for the next extraction.

#include "formats/FormatDetection.h"
#include "formats/TagMapProposal.h"

#include <QDialog>

#include <optional>
#include <vector>

class QComboBox;
class QTableWidget;

namespace papyrant {

class TagMapDialog : public QDialog {
    Q_OBJECT
public:
    // The fields shown are those `chosen` (the map chosen on the screen) gives the text's
    // tags, else the proposal for the text.
    TagMapDialog(QStringView text, const FormatDetection& detection, const TagMap* chosen, QWidget* parent);

    // The map the choices make; it bears the name it was saved under while the choices are
    // still the saved ones, else none.
    TagMap map() const;
    // Whether any field differs from what the dialog showed at first.
    bool changed() const;

private:
    void save();
    TagMap choices() const;

    TaggedFormat m_format;
    std::vector<TagUse> m_uses;
    std::vector<QComboBox*> m_fields; // the field of each tag, by row
    std::vector<int> m_shown; // the field each box showed at first
    std::optional<TagMap> m_preferred; // the chosen map, whose order of tags a field keeps
    std::optional<TagMap> m_saved; // as saved last from this dialog
};

} // namespace papyrant
