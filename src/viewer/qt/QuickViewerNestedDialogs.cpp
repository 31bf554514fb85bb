// The dialogs the Quick Viewer opens on the selected entry, as the program runs them.
#include "viewer/qt/QuickViewerDialog.h"

#include "tables/qt/TableDialogs.h"
#include "viewer/qt/DifferencesDialog.h"
#include "viewer/qt/QuickViewerAddOn.h"

namespace tavo {

QuickViewerNestedDialogs QuickViewerNestedDialogs::standard(QuickViewerAddOn* addOn)
{
    auto tableEditor = [addOn](QWidget* parent, const TableDef& def) {
        runTableEditorDialog(parent, def, [addOn](TableEditorDialog& editor) {
            if (addOn)
                addOn->tableEditorOpened(editor);
        });
    };
    return {runTableInformationDialog, tableEditor, runScaleTableDialog, runDifferencesDialog};
}

}  // namespace tavo
