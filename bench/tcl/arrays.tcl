# Filling and summing a 1001-element array by index (as ArrayLoop).
proc run {} {
    set a [lrepeat 1001 0]
    for {set i 0} {$i <= 999} {incr i} {
        lset a $i [expr {$i * 2}]
    }
    set s 0
    for {set i 0} {$i <= 999} {incr i} {
        set s [expr {[lindex $a $i] + $s}]
        set s [expr {$s % 1000}]
    }
    return $s
}
