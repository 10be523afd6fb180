#!/usr/bin/env bash
# The real Quenda.exe started at 144 and at 192 DPI: the main window's client area and every
# control of its layout are the 96-DPI ones scaled (one pixel of rounding either way), labels
# keep their place and are at least as tall as the scaled font, and what lies inside its panel
# at 96 DPI still does.
# The prefix's DPI goes back to 96 however the script ends.
source "$(dirname "$0")/lib.sh" "$@"

set_dpi() {
  timeout "$call_guard" wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d "$1" /f </dev/null >>"$log" 2>&1
}
undo_steps+=("set_dpi 96")

python3 "$e2e_dir/make_sample_table.py" "$work/Quenda.Tbl" "$wwork\\none.bat"

# The main window's layout at 96 DPI: id, parent id (0: the window), x, y, width, height.
# A width of 0 is a label sized to its text.
layout=$(cat <<'EOF'
100 0 0 0 365 362
101 100 0 0 365 41
102 100 0 44 365 240
103 100 0 289 365 73
104 103 79 6 41 20
105 103 202 7 155 20
110 102 7 8 350 20
111 103 8 30 350 36
112 103 22 10 0 0
113 103 132 10 0 0
120 100 12 419 32 31
121 100 52 418 32 32
201 101 20 20 32 16
202 101 77 20 32 16
203 101 134 20 32 16
204 101 191 20 32 16
205 101 248 20 32 16
207 101 306 20 32 16
212 101 6 54 32 16
211 101 41 54 32 16
213 101 76 54 32 16
214 101 111 54 32 16
215 101 146 54 32 16
244 101 181 54 32 16
245 101 216 54 32 16
246 101 251 54 32 16
247 101 290 54 32 16
248 101 326 54 32 16
301 101 29 7 0 0
302 101 85 7 0 0
303 101 142 7 0 0
304 101 199 7 0 0
309 101 256 7 0 0
322 101 313 7 0 0
311 101 15 41 0 0
312 101 50 41 0 0
313 101 85 41 0 0
314 101 121 41 0 0
315 101 156 41 0 0
316 101 191 41 0 0
321 101 227 41 0 0
310 101 262 41 0 0
323 101 297 41 0 0
324 101 333 41 0 0
EOF
)
for ((i = 0; i < 25; i++)); do  # the slot buttons
  layout+=$'\n'"$((218 + i)) 102 $((9 + 69 * (i % 5))) $((35 + 39 * (i / 5))) 70 40"
done

for dpi in 144 192; do
  set_dpi "$dpi"
  start_quenda
  out=$(drv window "$pid" TMainForm "$wait_ms") || fail "no main window appeared at $dpi DPI"
  expect_eq "$(field caption "$out")" "Quenda" "main window caption at $dpi DPI"
  expect_eq "$(field client "$out")" "$((366 * dpi / 96))x$((362 * dpi / 96))" \
    "main window client size at $dpi DPI"

  rects=$(drv rects "$pid" 100 399 "$wait_ms") || fail "could not read the controls at $dpi DPI"
  # Every control of the layout, and nothing read twice or missed.
  expect_eq "$(cut -f1 <<<"$rects" | sort -n | tr '\n' ' ')" \
    "$(cut -d' ' -f1 <<<"$layout" | sort -n | tr '\n' ' ')" "controls present at $dpi DPI"

  problems=$(awk -v dpi="$dpi" '
    function abs(v) { return v < 0 ? -v : v }
    function off(actual, expected) { return abs(actual - expected) > 1 }
    NR == FNR { parent[$1] = $2; x[$1] = $3; y[$1] = $4; w[$1] = $5; h[$1] = $6; next }
    { ax[$1] = $2; ay[$1] = $3; aw[$1] = $4; ah[$1] = $5 }
    END {
      s = dpi / 96
      for (id in x) {
        if (off(ax[id], x[id] * s) || off(ay[id], y[id] * s))
          printf "%s at %d,%d, expected %g,%g\n", id, ax[id], ay[id], x[id] * s, y[id] * s
        if (w[id] == 0) {
          # A label: at least as tall as its scaled font, and not empty.
          if (ah[id] < 12 * s || aw[id] < 8 * s)
            printf "label %s is %dx%d\n", id, aw[id], ah[id]
        } else if (off(ax[id] + aw[id], (x[id] + w[id]) * s) ||
                   off(ay[id] + ah[id], (y[id] + h[id]) * s)) {
          printf "%s is %dx%d, expected %gx%g\n", id, aw[id], ah[id], w[id] * s, h[id] * s
        }
        p = parent[id]
        if (p == 0 || w[id] == 0) continue
        # What fits its parent at 96 DPI fits it at this DPI.
        if (x[id] + w[id] <= w[p] && y[id] + h[id] <= h[p] &&
            (ax[id] + aw[id] > aw[p] || ay[id] + ah[id] > ah[p]))
          printf "%s reaches past its parent %s\n", id, p
      }
    }' <(echo "$layout") <(echo "$rects"))
  [[ -z $problems ]] || fail "main window at $dpi DPI:"$'\n'"$problems"

  # The window still works: the first slot of D1 reads its title.
  expect_eq "$(drv texts "$pid" 218 218 "$wait_ms")" $'218\tニュース速報' "slot 0 at $dpi DPI"
  close_expect wm-close "exited 0"
done
echo "PASS: dpi"
