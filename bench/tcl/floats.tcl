# Sine rounded to four places, then single-precision-style arithmetic (as Floats).
proc run {} {
    set pi 3.14159265358979
    set y 0.0
    for {set k 1} {$k <= 20000} {incr k} {
        set x [expr {round(sin($pi / 180 * $k) * 10000) / 10000.0}]
        set y [expr {$x * 1.5}]
        set y [expr {$y + 0.25}]
    }
    return $y
}
