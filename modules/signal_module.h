// The common part of the catalogue's signal modules. Each kind fixes its title, work type, help
// topic and picture once in its constructor and labels its connectors; binding shares two rules:
// a module finds its own work record through the engine, and every input field a kernel will
// read points at a valid value even when the source module offers none.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>

#include "engine/bind_context.h"
#include "engine/klang_engine.h"
#include "patch/modul_bild.h"

// What a module kind fixes once.
struct SModuleKind {
  const char* title;
  int workType;   // code 0..26 of the engine's work object
  int helpTopic;  // context number in the help file
  const char* picture;
};

class TSignalModul : public TModulBild {
 public:
  // Picture place of most kinds, in panel client coordinates.
  static constexpr TPoint kPicturePosition{28, 16};

  int GetWorkType() const override { return kind_.workType; }
  bool IsMono() const override { return monoWork_; }
  void ShowHelp() override;

  int HelpTopic() const { return kind_.helpTopic; }
  const char* PictureName() const { return kind_.picture; }
  TPoint PicturePosition() const { return picturePosition_; }
  SModulePicture PanelPicture() const override;
  // The hint of an input's connector: the kind's own, else the port type's.
  std::string HintOf(const TEinAusgang& port) const override;

 protected:
  // `monoWork`: one work record whatever the voice count.
  TSignalModul(const SModuleKind& kind, bool monoWork);

  // Append a port under the next number; a null caption keeps the port type's.
  void AddInput(int code, const char* caption, const char* hint = nullptr);
  void AddOutput(int code, const char* caption);
  void SetPicturePosition(TPoint position) { picturePosition_ = position; }

  // The own record for `voice` (voice 0 when mono), or null while the module is not bound or
  // its work type keeps records of another type.
  template <class Record>
  Record* OwnRecord(const TBindContext& context, int voice) const {
    return context.RecordOf<Record>(*this, IsMono() ? 0 : voice);
  }

  // Connects `target` to the output `field` of the own record for `voice`, cleared, since the
  // consumer may be bound before this module is.
  template <class Record>
  void LinkOwnOutput(std::int32_t Record::*field, int voice, const TLinkTarget& target,
                     const TBindContext& context) const {
    if (Record* record = OwnRecord<Record>(context, voice)) {
      record->*field = 0;
      target.Connect(&(record->*field));
    }
  }

  // Links the inputs "1", "2", ... in that order into `fields`.
  void LinkInputs(std::initializer_list<const std::int32_t**> fields, int voice,
                  TBindContext& context);

 private:
  SModuleKind kind_;
  bool monoWork_;
  TPoint picturePosition_ = kPicturePosition;
  std::map<std::string, std::string> inputHints_;
};
