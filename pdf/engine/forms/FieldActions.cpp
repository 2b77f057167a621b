#include "engine/forms/FieldActions.h"

#include "engine/forms/PdfField.h"
#include "engine/pdf/LinkDefinition.h"
#include "engine/pdf/PdfCanvas.h"
#include "engine/util/VumError.h"

#include <iterator>

namespace vum {

const char* ActionEventKey(uint8_t event)
{
    static const char* const keys[] = {"V", "E", "X", "F", "Fo", "K", "Bl", "D", "U"};
    return event < std::size(keys) ? keys[event] : "V";
}

std::vector<std::string> FieldActionLines(TPdfCanvas& canvas, const TPdfAction& action)
{
    const int32_t n = action.ObjectNumber;
    switch (action.Kind) {
    case 0: return LinkActionLines(canvas, action.Text, n);
    case 1: return {"/S/Hide", "/T " + canvas.TextString(action.Text, n), "/H true"};
    case 2: return {"/S/Hide", "/T " + canvas.TextString(action.Text, n), "/H false"};
    case 3:
        // The fields as literal strings (bare names are not valid array
        // entries), radio buttons by their group, in an array written when
        // the document ends.
        return {"/S/SubmitForm", "/F " + canvas.EncodeString(action.Text, n),
                "/Fields " + PdfObjectWriter::ObjectRef(canvas.SubmittedFieldsObject()), "/Flags 4"};
    case 4: return {"/S/ResetForm"};
    case 5: return {"/S/ImportData", "/F " + canvas.EncodeString(action.Text, n)};
    case 6: return {"/S/JavaScript", "/JS " + canvas.TextString(action.Text, n)};
    default: RaiseContextError("Invalid method call", "SetAction");
    }
}

} // namespace vum
