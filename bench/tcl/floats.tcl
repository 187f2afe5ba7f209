# A sine rounded to four places, then the arithmetic of scripts/floats.txt.
proc run {} {
    set pi 3.14159265358979
    set y 0.0
    for {set k 1} {$k <= 20000} {incr k} {
        set x [expr {round(sin($pi / 180 * $k) * 10000) / 10000.0}]
        set y [expr {$x * 1.5}]
        set y [expr {$y + 0.25}]
    }
    return [format %.7G $y]
}

# Run as a script: tclsh FILE [N] prints the question text N times.
if {[info exists argv0] && [file normalize [info script]] eq [file normalize $argv0]} {
    set n [expr {$argc > 0 ? [lindex $argv 0] : 1}]
    for {set r 0} {$r < $n} {incr r} {
        puts [run]
    }
}
