#!/bin/sh
# The layer check names every wrong include of a small tree and fails on it.
# Usage: check_layers_test.sh CHECKER QT_WIDGETS_INCLUDE_FOLDER
here=$(dirname "$0")
output=$(sh "$1" "$here/fixture" "$2")
status=$?
expected='engine/mixer.cpp:1: engine includes patch/modul.h from the higher layer patch
engine/mixer.cpp:2: engine includes the Qt header <QString>
platform/store.cpp:1: platform includes app/main_window.h from the higher layer app
patch/list.cpp:2: patch includes modules/constants.h from the higher layer modules
patch/list.cpp:3: patch includes views/panel.h from the higher layer views
patch/list.cpp:4: model file includes the Qt Widgets header <QDialog>
plugin/instrument.cpp:2: plugin includes app/main_window.h from the higher layer app
plugin/instrument.cpp:3: plugin includes the Qt header <QString>
8 include(s) against the layers'
if [ "$status" -eq 0 ] || [ "$output" != "$expected" ]; then
  echo "exit status $status, output:"
  echo "$output"
  exit 1
fi
