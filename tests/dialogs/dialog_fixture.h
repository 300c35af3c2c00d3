// A sound with the whole catalogue and its dialogs installed, for the module dialog tests on the
// offscreen platform. ShowProperties runs its dialogs through a script: each step fills in the
// dialog that is open and presses a button, and the messages shown go to a recording presenter.
#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <string>

#include "modules/catalogue.h"
#include "patch/application_context.h"
#include "patch/dokument_klang.h"
#include "patch/modul_bild.h"
#include "patch/module_list.h"
#include "support/recording_presenter.h"
#include "views/module_dialog.h"
#include "views/module_dialog_table.h"

using TDialogStep = std::function<void(QDialog& form)>;

// The control named `name` of `form`; fails the test when there is none.
template <class Widget>
Widget& Control(QDialog& form, const char* name) {
  auto* widget = form.findChild<Widget*>(QString::fromLatin1(name));
  if (widget == nullptr) {
    ADD_FAILURE() << "no control " << name;
    throw std::runtime_error(name);
  }
  return *widget;
}

// Replaces the text of `edit` as typing does.
inline void Type(QDialog& form, const char* edit, const QString& text) {
  QLineEdit& field = Control<QLineEdit>(form, edit);
  field.selectAll();
  field.insert(text);
}
// Fills `edit` with `text` and presses OK.
inline TDialogStep TypeAndOk(const char* edit, const QString& text) {
  return [edit, text](QDialog& form) {
    Type(form, edit, text);
    Control<QPushButton>(form, "BitBtnOk").click();
  };
}
inline void PressOk(QDialog& form) { Control<QPushButton>(form, "BitBtnOk").click(); }
inline void PressCancel(QDialog& form) { Control<QPushButton>(form, "BitBtnCancel").click(); }

class DialogTest : public ::testing::Test {
 protected:
  DialogTest() : scope_(Context(messages)) {
    SetModalRunner([this](QDialog& form) { return RunScript(form); });
  }
  ~DialogTest() override {
    SetModalRunner({});
    EXPECT_TRUE(steps_.empty()) << steps_.size() << " steps of the script were not run";
  }

  // A module of `type` under `key`, with an empty history and a saved sound after it.
  template <class Kind = TModulBild>
  Kind& Add(const std::string& type, const std::string& key) {
    list.CreateModuleAt(type, key, 40, 40, false);
    list.ActionManager.ClearHistory();
    EXPECT_TRUE(document.Save(folder_.filePath(QStringLiteral("test.zmr"))));
    auto* module = dynamic_cast<Kind*>(list.Get(key).get());
    if (module == nullptr) throw std::runtime_error(type);
    return *module;
  }

  // The "caption: text" of every message shown, in order; every one must carry the error icon.
  std::vector<std::string> Faults() const {
    std::vector<std::string> faults;
    for (const SMessage& message : messages.shown) {
      EXPECT_EQ(message.icon, TMessageIcon::Error);
      faults.push_back((message.caption + ": " + message.text).toStdString());
    }
    return faults;
  }

  // The steps the next dialogs run, in order.
  void Script(std::initializer_list<TDialogStep> steps) { steps_.assign(steps); }
  // What each dialog showed when its first step ran, in order.
  std::vector<QString> captions;

  TRecordingPresenter messages;
  TDokumentKlang document;
  TModuleListe& list = *document.ModuleList;

 private:
  static SApplicationContext Context(TRecordingPresenter& messages) {
    SApplicationContext context;
    context.moduleTypes = ModuleCatalogue();
    context.dialogOpeners = &CatalogueDialogOpeners();
    context.messages = &messages;
    return context;
  }

  // Runs steps on `form` until a step closes it; a dialog with no step left is cancelled.
  int RunScript(QDialog& form) {
    captions.push_back(form.windowTitle());
    bool finished = false;
    const auto connection =
        QObject::connect(&form, &QDialog::finished, [&finished] { finished = true; });
    while (!finished) {
      if (steps_.empty()) {
        ADD_FAILURE() << "a dialog opened with no step left";
        form.reject();
        break;
      }
      const TDialogStep step = steps_.front();
      steps_.pop_front();
      step(form);
    }
    QObject::disconnect(connection);
    return form.result();
  }

  QTemporaryDir folder_;
  TApplicationScope scope_;
  std::deque<TDialogStep> steps_;
};
