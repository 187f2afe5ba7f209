# Filling a 1001-element array by index, then summing it in a while loop
# (as scripts/arrays.txt).
proc run {} {
    set a [lrepeat 1001 0]
    for {set i 0} {$i <= 999} {incr i} {
        lset a $i [expr {$i * 2}]
    }
    set s 0
    set i 0
    while {$i <= 999} {
        set s [expr {[lindex $a $i] + $s}]
        set s [expr {$s % 997}]
        incr i
    }
    return $s
}

# Run as a script: tclsh FILE [N] prints the question text N times.
if {[info exists argv0] && [file normalize [info script]] eq [file normalize $argv0]} {
    set n [expr {$argc > 0 ? [lindex $argv 0] : 1}]
    for {set r 0} {$r < $n} {incr r} {
        puts [run]
    }
}
