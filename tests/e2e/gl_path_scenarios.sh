# shellcheck shell=bash
# The OpenGL paths besides 3.3 core, made with Mesa's version overrides: the same first frame
# as 3.3 core's, and a click on the tip turns it. Sourced by run.sh after scenarios.sh.

SCENARIOS+=(gl31_path gles_path gles_path_on_wayland)

# Crops the last shot of the pyramid to the view as shot $1.
keep_view_shot() { convert "$SD/pyramid.png" -crop "$(crop "$(view_area)")" +repage "$SD/$1.png"; }

# Draws the first frame on the 3.3 core path, then with the overrides $2... (NAME=VALUE),
# where the display layer must say it draws with API $1; compares the two frames and, where
# X input reaches the program, turns the tip.
compare_with_core_path() {
    local api=$1 differ
    shift
    start_app -Embedding
    wait_main
    wait_pyramid
    keep_view_shot core
    kill "$APP_PID"
    wait_exit 10
    # shellcheck disable=SC2163 # the arguments are NAME=VALUE words to export
    export "$@" QT_LOGGING_RULES=tetrakon.gfx.debug=true
    start_app -Embedding
    wait_main
    wait_pyramid
    grep -q "drawing with $api" "$SD/app.log" || fail "not drawn with $api: $(grep gfx "$SD/app.log")"
    keep_view_shot path
    differ=$(diff_px core path)
    note "$api: $differ pixels of the view differ from the 3.3 core path's first frame"
    [ "$differ" -lt 20 ] || fail "$api draws another first frame"
    [ -z "${SHOTS_FROM:-}" ] || return 0
    activate
    click_at "${TIP[@]}"
    wait_settled turned pyramid "$(view_area)" "a click on the tip"
    [ "$(diff_px pyramid turned "$APEX_AREA")" -gt 500 ] || fail "the tip did not turn on $api"
}

scenario_gl31_path() {
    compare_with_core_path "OpenGL 3.1" MESA_GL_VERSION_OVERRIDE=3.1 MESA_GLSL_VERSION_OVERRIDE=140
}
scenario_gles_path() {
    compare_with_core_path "OpenGL ES 3.0" MESA_GL_VERSION_OVERRIDE=2.1 \
        MESA_GLSL_VERSION_OVERRIDE=120 MESA_GLES_VERSION_OVERRIDE=3.0
}
scenario_gles_path_on_wayland() { on_weston_headless; scenario_gles_path; }
