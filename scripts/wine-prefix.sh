# Sourced by whatever runs the Windows build under Wine: the tests, the screenshots, the
# benchmarks and the installer check.
# make_wine_prefix DIR makes a Wine prefix in DIR and exports WINEPREFIX and the quiet settings
# for it. Its Times New Roman, Arial and Courier New are Debian's metric-compatible Liberation
# faces (fonts-liberation2), so the windows show the design's faces rather than Wine's fallback.
# No Mono or Gecko: nothing here needs them.
make_wine_prefix() {
    export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    local log face key='HKCU\Software\Wine\Fonts\Replacements'
    log=$(mktemp)
    # Wine's own processes, started here, keep what they inherit: a file, never a caller's pipe.
    if ! wineboot --init >"$log" 2>&1 </dev/null; then
        cat "$log" >&2
        rm -f "$log"
        return 1
    fi
    rm -f "$log"
    for face in "Times New Roman=Liberation Serif" "Arial=Liberation Sans" "Arial Black=Liberation Sans" \
                "Courier New=Liberation Mono"; do
        wine reg add "$key" /v "${face%%=*}" /t REG_SZ /d "${face#*=}" /f >/dev/null 2>&1 ||
            { echo "Wine refused the font replacement ${face%%=*}" >&2; return 1; }
    done
}
