#pragma once
// The records of each module page in a configuration file, declared once per page: the
// same walk writes (the stream formats each control) and reads (the stream parses the
// next field into the control), with the page's model conditions evaluated against the
// stream's model string. And the default values a new configuration gets.
#include <string_view>

#include "config/RecordStream.h"
#include "pages/ModulePage.h"

namespace q5::pages {
class frmAI4;
class frmAIF2;
class frmAI8;
class frmBI16;
class frmBO16;
class frmBI32;
class frmBO32;
class frmBIO32;
class frmBIO16;
class frmSG2;
class frmLNRIO1;
class frmEC4;
class frmAC32;
class frmPI2;
class frmPI8;
class frmPI32;
class frmTC4;
class frmRT4;
class frmOV2;
class frmOC2;
class frmOCF4;
class frmOVF4;
}  // namespace q5::pages

namespace q5::config {

// Walks the records of the page of `pageKind`. False when that kind has no records in
// this version (or the page is not of that kind).
bool PageRecords(RecordStream& io, pages::ModulePage& page, int pageKind);

// Puts the values of a new configuration into the page's controls (its lists filled
// already by PrepareControls). False when the kind cannot be created offline.
bool NewDefaults(pages::ModulePage& page, int pageKind, std::string_view model);

// The families' dispatchers (one per family file); false for kinds they do not serve.
bool AnalogInputRecords(RecordStream& io, pages::ModulePage& page, int pageKind);
bool AnalogInputDefaults(pages::ModulePage& page, int pageKind, std::string_view model);
bool DiscreteRecords(RecordStream& io, pages::ModulePage& page, int pageKind);
bool DiscreteDefaults(pages::ModulePage& page, int pageKind, std::string_view model);
// Pulse inputs, PWM outputs, AC current inputs: kinds 11, 15, 16, 19, 21.
bool PulsePwmAcRecords(RecordStream& io, pages::ModulePage& page, int pageKind);
bool PulsePwmAcDefaults(pages::ModulePage& page, int pageKind, std::string_view model);
bool TemperatureOutputRecords(RecordStream& io, pages::ModulePage& page, int pageKind);
bool TemperatureOutputDefaults(pages::ModulePage& page, int pageKind, std::string_view model);

// Load cell and linearizer: kinds 13, 14.
bool LoadCellRecords(RecordStream& io, pages::ModulePage& page, int pageKind);
bool LoadCellDefaults(pages::ModulePage& page, int pageKind, std::string_view model);

// Per page, in the family files.
void records(RecordStream& io, pages::frmAI4& p);
void records(RecordStream& io, pages::frmAIF2& p);
void records(RecordStream& io, pages::frmAI8& p);
void records(RecordStream& io, pages::frmBI16& p);
void records(RecordStream& io, pages::frmBO16& p);
void records(RecordStream& io, pages::frmBI32& p);
void records(RecordStream& io, pages::frmBO32& p);
void records(RecordStream& io, pages::frmBIO32& p);
void records(RecordStream& io, pages::frmBIO16& p);
void records(RecordStream& io, pages::frmSG2& p);
void records(RecordStream& io, pages::frmLNRIO1& p);
void records(RecordStream& io, pages::frmEC4& p);
void records(RecordStream& io, pages::frmAC32& p);
void records(RecordStream& io, pages::frmPI2& p);
void records(RecordStream& io, pages::frmPI8& p);
void records(RecordStream& io, pages::frmPI32& p);
void records(RecordStream& io, pages::frmTC4& p);
void records(RecordStream& io, pages::frmRT4& p);
void records(RecordStream& io, pages::frmOV2& p);
void records(RecordStream& io, pages::frmOC2& p);
void records(RecordStream& io, pages::frmOCF4& p);
void records(RecordStream& io, pages::frmOVF4& p);

void newDefaults(pages::frmAI4& p, std::string_view model);
void newDefaults(pages::frmAI8& p, std::string_view model);
void newDefaults(pages::frmBI16& p, std::string_view model);
void newDefaults(pages::frmBO16& p, std::string_view model);
void newDefaults(pages::frmBI32& p, std::string_view model);
void newDefaults(pages::frmBO32& p, std::string_view model);
void newDefaults(pages::frmBIO32& p, std::string_view model);
void newDefaults(pages::frmBIO16& p, std::string_view model);
void newDefaults(pages::frmSG2& p, std::string_view model);
void newDefaults(pages::frmLNRIO1& p, std::string_view model);
void newDefaults(pages::frmEC4& p, std::string_view model);
void newDefaults(pages::frmAC32& p, std::string_view model);
void newDefaults(pages::frmPI2& p, std::string_view model);
void newDefaults(pages::frmPI8& p, std::string_view model);
void newDefaults(pages::frmPI32& p, std::string_view model);
void newDefaults(pages::frmTC4& p, std::string_view model);
void newDefaults(pages::frmOCF4& p, std::string_view model);
void newDefaults(pages::frmOVF4& p, std::string_view model);

}  // namespace q5::config
