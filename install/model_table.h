// The printer models the tool installs: one row per model radio of the dialog.
#pragma once

namespace install {

// Size of the installer's per-model arrays; rows past kModelCount are empty.
constexpr int kModelSlots = 20;
// Rows that name a model (0..9).
constexpr int kModelCount = 10;
// Rows below this index are receipt models, rows from it on are installed like label models.
constexpr int kFirstLabelModel = 6;

enum class ModelKind { Receipt, Label };

struct ModelRow {
  const wchar_t* name;          // also the name of the registered driver
  const wchar_t* resourceFile;  // resource DLL in the package's RES folder ("" if none)
  const wchar_t* gpdFile;       // GPD file in the package's RES folder ("" if none)
  ModelKind kind;               // what the printer is; see IsReceiptModelIndex for the install
};

// Rows 0..9. A trailing "C" in a receipt model's name marks the model with a paper cutter.
// Row 6 carries the 90 mm receipt files, which only a receipt-way install of row 6 would read;
// row 9 (TPR-90) has no files and no visible radio.
extern const ModelRow kModelTable[kModelCount];

// The installation tells the two kinds apart by position alone: rows 0..5 are receipt models,
// every index from 6 on (TPR-90 included) is treated as a label model.
constexpr bool IsReceiptModelIndex(int modelIndex) { return modelIndex < kFirstLabelModel; }

// The model's row, or nullptr for an index outside 0..9.
const ModelRow* ModelAt(int modelIndex);

// Name, resource file and GPD file of a row; "" for an index outside the table.
const wchar_t* ModelName(int modelIndex);
const wchar_t* ModelResourceFile(int modelIndex);
const wchar_t* ModelGpdFile(int modelIndex);

// The 4-inch label model, whose name the label driver package carries in its file names.
constexpr int kLabelTemplateModel = 6;
constexpr const wchar_t* kLabelTemplateName = L"KTL-400L (4inch)";

}  // namespace install
