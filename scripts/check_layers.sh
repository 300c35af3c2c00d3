#!/bin/sh
# Checks that every #include points down the layers (README, "Layout"):
#   persist < engine < platform < edit < patch < modules < the widget files < app < tools
#   and beside the widget files and app: modules < plugin
# persist, engine and plugin include no Qt at all; the model folders (edit, patch, modules)
# include no Qt Widgets header and no widget file, except in their own widget files (*_view.*,
# *_dialog.*), which sit above the whole model and may include from any of its folders.
# A widget file is a *_view.* or *_dialog.* file that includes a Qt Widgets header itself.
# Usage: check_layers.sh SOURCE_FOLDER QT_WIDGETS_INCLUDE_FOLDER
# Prints one line per wrong include and fails when there is any.
set -u
root=$1
widgets=$2

# The folders a folder may include from: its own and the ones below it.
allowed() {
  case $1 in
    persist) echo "persist" ;;
    engine) echo "persist engine" ;;
    platform) echo "persist engine platform" ;;
    edit) echo "persist engine platform edit" ;;
    patch) echo "persist engine platform edit patch" ;;
    modules) echo "persist engine platform edit patch modules" ;;
    plugin) echo "persist engine platform edit patch modules plugin" ;;
    app) echo "persist engine platform edit patch modules app" ;;
    tools) echo "persist engine platform edit patch modules app tools" ;;
  esac
}

is_widget_name() {
  case $1 in
    *_view.h | *_view.cpp | *_dialog.h | *_dialog.cpp) return 0 ;;
  esac
  return 1
}

# Whether <name> is a Qt Widgets header.
is_widgets_header() {
  case $1 in
    QtWidgets | QtWidgets/*) return 0 ;;
  esac
  [ -e "$widgets/$1" ]
}

includes_widgets() {
  sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*<\([^>]*\)>.*/\1/p' "$1" |
    while read -r header; do
      if is_widgets_header "$header"; then
        echo yes
        break
      fi
    done | grep -q yes
}

is_widget_file() {
  is_widget_name "$1" && includes_widgets "$1"
}

listing=$(mktemp)
faults=0
fault() {
  echo "$1: $2"
  faults=$((faults + 1))
}

for folder in persist engine platform edit patch modules plugin app tools; do
  [ -d "$root/$folder" ] || continue
  for file in "$root/$folder"/*.h "$root/$folder"/*.cpp; do
    [ -e "$file" ] || continue
    shown=${file#"$root"/}
    permitted=$(allowed "$folder")
    own_widget_file=no
    if is_widget_name "$file"; then own_widget_file=yes; fi
    case $folder in
      edit | patch | modules)
        if [ "$own_widget_file" = yes ]; then permitted=$(allowed modules); fi
        ;;
    esac
    grep -n '^[[:space:]]*#[[:space:]]*include' "$file" >"$listing"
    while IFS=: read -r line text; do
      quoted=$(printf '%s\n' "$text" |
        sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p')
      angled=$(printf '%s\n' "$text" |
        sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*<\([^>]*\)>.*/\1/p')
      if [ -n "$quoted" ]; then
        layer=${quoted%%/*}
        if [ "$layer" != "$quoted" ] && [ -n "$(allowed "$layer")" ]; then
          case " $permitted " in
            *" $layer "*) ;;
            *) fault "$shown:$line" "$folder includes $quoted from the higher layer $layer" ;;
          esac
          case $folder in
            edit | patch | modules)
              if [ "$own_widget_file" = no ] && [ -e "$root/$quoted" ] &&
                is_widget_file "$root/$quoted"; then
                fault "$shown:$line" "model file includes the widget file $quoted"
              fi
              ;;
          esac
        fi
      elif [ -n "$angled" ]; then
        case $folder in
          persist | engine | plugin)
            case $angled in
              Q* | Qt*) fault "$shown:$line" "$folder includes the Qt header <$angled>" ;;
            esac
            ;;
          edit | patch | modules)
            if [ "$own_widget_file" = no ] && is_widgets_header "$angled"; then
              fault "$shown:$line" "model file includes the Qt Widgets header <$angled>"
            fi
            ;;
        esac
      fi
    done <"$listing"
  done
done
rm -f "$listing"

if [ "$faults" -gt 0 ]; then
  echo "$faults include(s) against the layers"
  exit 1
fi
echo "every include points down the layers"
