#!/bin/sh
# Checks that every #include points down the layers (README, "Layout"):
#   persist < engine < platform < edit < patch < modules < resources < desktop < views < cli
#   < app < tools, and beside resources and what follows: modules < plugin
# persist, engine and plugin include no Qt at all; the model folders (edit, patch, modules)
# include no Qt Widgets header.
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
    resources) echo "persist engine platform edit patch modules resources" ;;
    desktop) echo "persist engine platform edit patch modules resources desktop" ;;
    views) echo "persist engine platform edit patch modules resources desktop views" ;;
    cli) echo "persist engine platform edit patch modules resources desktop views cli" ;;
    app) echo "persist engine platform edit patch modules resources desktop views cli app" ;;
    tools) echo "persist engine platform edit patch modules resources desktop views cli app tools" ;;
  esac
}

# Whether <name> is a Qt Widgets header.
is_widgets_header() {
  case $1 in
    QtWidgets | QtWidgets/*) return 0 ;;
  esac
  [ -e "$widgets/$1" ]
}

listing=$(mktemp)
faults=0
fault() {
  echo "$1: $2"
  faults=$((faults + 1))
}

for folder in persist engine platform edit patch modules plugin resources desktop views cli app \
  tools; do
  [ -d "$root/$folder" ] || continue
  for file in "$root/$folder"/*.h "$root/$folder"/*.cpp; do
    [ -e "$file" ] || continue
    shown=${file#"$root"/}
    permitted=$(allowed "$folder")
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
        fi
      elif [ -n "$angled" ]; then
        case $folder in
          persist | engine | plugin)
            case $angled in
              Q* | Qt*) fault "$shown:$line" "$folder includes the Qt header <$angled>" ;;
            esac
            ;;
          edit | patch | modules)
            if is_widgets_header "$angled"; then
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
