#!/usr/bin/env bash
# Refreshes the icons the painter draws from the Material Design Icons package (npm @mdi/svg).
# The painter reads the copies in icons/, so painting needs neither npm nor the network;
# run this only to update the icons or to add one (then add its name below).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cd "$here"
npm ci --no-audit --no-fund
icons=(arrow-down-bold cancel check-bold checkbox-marked close-thick content-cut crown decagram exit-run
       hand-back-right information-variant lightbulb magnify pin pinwheel restart timer-sand)
mkdir -p icons
for name in "${icons[@]}"; do
  cp "node_modules/@mdi/svg/svg/$name.svg" "icons/$name.svg"
done
cp node_modules/@mdi/svg/LICENSE icons/MDI-LICENSE
cp node_modules/@mdi/svg/LICENSE "$here/../../assets/icons/MDI-LICENSE"
