# Nested counting loops around an addition and a remainder (as scripts/loops.txt).
proc run {} {
    set s 0
    set m 0
    for {set i 1} {$i <= 500} {incr i} {
        for {set j 1} {$j <= 1000} {incr j} {
            set s [expr {$i + $j}]
            set m [expr {$s % 7}]
        }
    }
    return "$s $m"
}

# Run as a script: tclsh FILE [N] prints the question text N times.
if {[info exists argv0] && [file normalize [info script]] eq [file normalize $argv0]} {
    set n [expr {$argc > 0 ? [lindex $argv 0] : 1}]
    for {set r 0} {$r < $n} {incr r} {
        puts [run]
    }
}
