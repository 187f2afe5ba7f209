# Nested counting loops around an addition and a remainder (as LoopHeavy).
proc run {} {
    set m 0
    for {set i 1} {$i <= 500} {incr i} {
        for {set j 1} {$j <= 1000} {incr j} {
            set s [expr {$i + $j}]
            set m [expr {$s % 7}]
        }
    }
    return $m
}
